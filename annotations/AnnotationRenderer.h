#pragma once

#include <memory>

namespace markvane {

// A view that draws the annotation store's state. It joins a store with
// AnnotationStore::addRenderer(); the store holds it weakly, so a renderer
// that is destroyed drops out of the store's table by itself.
class AnnotationRenderer {
public:
    AnnotationRenderer() = default;
    AnnotationRenderer(const AnnotationRenderer&) = delete;
    AnnotationRenderer& operator=(const AnnotationRenderer&) = delete;
    virtual ~AnnotationRenderer() = default;

    // The annotations, the selection or the tool changed: redraw.
    virtual void annotationsDidChange() = 0;

private:
    friend class AnnotationStore;
    // Lives exactly as long as this renderer; the store keeps weak references.
    std::shared_ptr<const char> m_lifetime = std::make_shared<const char>('\0');
};

} // namespace markvane

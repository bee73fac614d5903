#pragma once

#include "annotations/AnnotationRenderer.h"
#include "annotations/AnnotationStore.h"
#include "fakes/FakeClock.h"
#include "fakes/FakePlatform.h"
#include "fakes/FakePreferences.h"

#include <gtest/gtest.h>
#include <memory>

namespace markvane::testing {

class CountingRenderer : public AnnotationRenderer {
public:
    void annotationsDidChange() override {
        ++calls;
        if (onChange)
            onChange();
    }
    int calls = 0;
    std::function<void()> onChange;
};

// A store on fakes, built on first use; each test has its own.
class StoreTest : public ::testing::Test {
protected:
    AnnotationStore& store() {
        if (!m_store)
            m_store = std::make_unique<AnnotationStore>(
                AnnotationStore::Services{&clock, &preferences, &pasteboard, &capture});
        return *m_store;
    }
    void dropStore() { m_store.reset(); }

    // A finished stroke of the current tool; returns the last annotation's id.
    QUuid draw(QPointF from, QPointF to) {
        store().beginStroke(from);
        store().updateStroke((from + to) / 2, false, false);
        store().updateStroke(to, false, false);
        store().commitStroke();
        return store().annotations().isEmpty() ? QUuid() : store().annotations().last().id;
    }
    QUuid drawRectangle(QPointF from, QPointF to) {
        store().setTool(Tool::rectangle);
        return draw(from, to);
    }
    int undoDepth() {
        int steps = 0;
        for (; store().canUndo(); ++steps)
            store().undo();
        return steps;
    }

    FakeClock clock;
    FakePreferences preferences;
    FakePasteboard pasteboard;
    FakeScreenCapture capture;

private:
    std::unique_ptr<AnnotationStore> m_store;
};

} // namespace markvane::testing

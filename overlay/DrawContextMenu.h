#pragma once

#include <QMenu>
#include <functional>
#include <memory>

namespace markvane {

// What the drawing view's context menu does with the selected annotation.
struct DrawMenuActions {
    std::function<void()> cut;
    std::function<void()> copy;
    std::function<void()> deleteSelected;
    std::function<void()> duplicate;
    std::function<void()> bringToFront;
    std::function<void()> bringForward;
    std::function<void()> sendBackward;
    std::function<void()> sendToBack;
};

// Cut, Copy, Delete, Duplicate, a separator and the "Arrange" submenu, with
// the editing keys shown beside them.
std::unique_ptr<QMenu> buildDrawContextMenu(const DrawMenuActions& actions,
                                            QWidget* parent = nullptr);

} // namespace markvane

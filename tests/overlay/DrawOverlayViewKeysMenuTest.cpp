#include "DrawViewFixture.h"

#include <QMenu>

namespace markvane::testing {
namespace {

using DrawViewKeys = DrawViewTest;
using DrawViewMenu = DrawViewTest;

QStringList titles(const QMenu& menu) {
    QStringList result;
    for (const QAction* action : menu.actions())
        result.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return result;
}

QAction* item(const QMenu& menu, const QString& title) {
    for (QAction* action : menu.actions()) {
        if (action->text().section(u'\t', 0, 0) == title)
            return action;
        if (action->menu()) {
            if (QAction* inner = item(*action->menu(), title))
                return inner;
        }
    }
    return nullptr;
}

// ---- Keys ----

TEST_F(DrawViewKeys, KeysAreOfferedToTheHostFirst) {
    host.consumeKeys = true;
    store.setTool(Tool::pen);
    key(Qt::Key_Z, Qt::ControlModifier, "\x1a");
    key(Qt::Key_Escape);
    ASSERT_EQ(host.offered.size(), 2);
    EXPECT_EQ(host.offered[0].keyCode, 6);
    EXPECT_EQ(host.offered[0].modifierFlags, 0x40000u);
    EXPECT_TRUE(host.offered[1].isEscape());
    EXPECT_EQ(store.tool(), Tool::pen) << "a consumed Escape does not step back";
}

TEST_F(DrawViewKeys, Escape_StepsBackOneLevelPerPress) {
    view->freezeZoom().frozenSnapshot = QImage(4, 4, QImage::Format_ARGB32);
    const QUuid rect = addRectangle({100, 100}, {200, 200});
    store.setTool(Tool::pen);
    store.setSelectedID(rect); // the pen clears it; set it again to see every level
    store.beginStroke({10, 10});

    key(Qt::Key_Escape);
    EXPECT_FALSE(view->freezeZoom().isFrozen());
    EXPECT_TRUE(store.activeAnnotation());

    key(Qt::Key_Escape);
    EXPECT_FALSE(store.activeAnnotation());
    EXPECT_EQ(store.selectedID(), rect);

    key(Qt::Key_Escape);
    EXPECT_FALSE(store.selectedID());
    EXPECT_EQ(store.tool(), Tool::pen);

    key(Qt::Key_Escape);
    EXPECT_EQ(store.tool(), Tool::move);
    EXPECT_TRUE(host.drawMode);

    key(Qt::Key_Escape);
    EXPECT_FALSE(host.drawMode);
    EXPECT_EQ(store.annotations().size(), 1) << "Escape never deletes";
}

TEST_F(DrawViewKeys, EscapeWhileCapturePending_GoesOnDownTheChain) {
    view->freezeZoom().zoomCapturePending = true;
    store.setTool(Tool::pen);
    key(Qt::Key_Escape);
    EXPECT_TRUE(view->freezeZoom().zoomCapturePending);
    EXPECT_EQ(store.tool(), Tool::move);
}

// ---- Context menu ----

TEST_F(DrawViewMenu, NoMenuWithOtherToolsOrOnEmptySpace) {
    addRectangle({100, 100}, {200, 200});
    store.setTool(Tool::pen);
    EXPECT_FALSE(view->contextMenuAt({150, 150}));
    store.setTool(Tool::move);
    EXPECT_FALSE(view->contextMenuAt({500, 500}));
    EXPECT_FALSE(store.selectedID());
}

TEST_F(DrawViewMenu, MenuOnAnUnselectedAnnotation_SelectsItAndListsTheCommands) {
    const QUuid rect = addRectangle({100, 100}, {200, 200});
    store.setTool(Tool::move);
    const auto menu = view->contextMenuAt({150, 150});
    ASSERT_TRUE(menu);
    EXPECT_EQ(store.selectedID(), rect);
    EXPECT_EQ(titles(*menu), (QStringList{"Cut\tCtrl+X", "Copy\tCtrl+C", "Delete\tDelete",
                                          "Duplicate\tCtrl+D", "-", "Arrange"}));
    const QMenu* arrange = menu->actions().last()->menu();
    ASSERT_TRUE(arrange);
    EXPECT_EQ(titles(*arrange),
              (QStringList{"Bring to Front", "Bring Forward", "Send Backward", "Send to Back"}));
}

TEST_F(DrawViewMenu, CutCopiesThenDeletesAndCopyChangesNothing) {
    store.setAnnotationImager([](const Annotation&) {
        QImage image(10, 10, QImage::Format_ARGB32);
        image.fill(Qt::red);
        return std::optional<QImage>(image);
    });
    addRectangle({100, 100}, {200, 200});
    store.setTool(Tool::move);
    auto menu = view->contextMenuAt({150, 150});
    item(*menu, "Copy")->trigger();
    EXPECT_EQ(pasteboard.writeCount, 1);
    EXPECT_EQ(store.annotations().size(), 1);
    menu = view->contextMenuAt({150, 150});
    item(*menu, "Cut")->trigger();
    EXPECT_EQ(pasteboard.writeCount, 2);
    EXPECT_TRUE(store.annotations().isEmpty());
    store.undo();
    EXPECT_EQ(store.annotations().size(), 1) << "cut is one undo step";
}

TEST_F(DrawViewMenu, DuplicateAndDelete_ActOnTheClickedAnnotation) {
    addRectangle({100, 100}, {200, 200});
    store.setTool(Tool::move);
    item(*view->contextMenuAt({150, 150}), "Duplicate")->trigger();
    ASSERT_EQ(store.annotations().size(), 2);
    EXPECT_EQ(store.annotations()[1].points.first(), QPointF(114, 86));
    item(*view->contextMenuAt({150, 150}), "Delete")->trigger(); // the copy is on top
    ASSERT_EQ(store.annotations().size(), 1);
    EXPECT_EQ(store.annotations()[0].points.first(), QPointF(100, 100));
}

TEST_F(DrawViewMenu, Arrange_ReordersAndNoOpsRecordNothing) {
    const QUuid a = addRectangle({100, 100}, {200, 200});
    const QUuid b = addRectangle({300, 100}, {400, 200});
    const QUuid c = addRectangle({500, 100}, {600, 200});
    store.setTool(Tool::move);
    const auto order = [&] {
        QList<QUuid> ids;
        for (const Annotation& annotation : store.annotations())
            ids.append(annotation.id);
        return ids;
    };
    const auto undoable = [&] {
        int steps = 0;
        while (store.canUndo()) {
            store.undo();
            ++steps;
        }
        for (int i = 0; i < steps; ++i)
            store.redo();
        return steps;
    };
    const int base = undoable();

    item(*view->contextMenuAt({150, 150}), "Send to Back")->trigger();
    item(*view->contextMenuAt({550, 150}), "Bring Forward")->trigger();
    item(*view->contextMenuAt({550, 150}), "Bring to Front")->trigger();
    EXPECT_EQ(order(), (QList<QUuid>{a, b, c}));
    EXPECT_EQ(undoable(), base) << "no-ops record no undo step";

    item(*view->contextMenuAt({350, 150}), "Bring Forward")->trigger();
    EXPECT_EQ(order(), (QList<QUuid>{a, c, b}));
    item(*view->contextMenuAt({350, 150}), "Send to Back")->trigger();
    EXPECT_EQ(order(), (QList<QUuid>{b, a, c}));
    item(*view->contextMenuAt({550, 150}), "Send Backward")->trigger();
    EXPECT_EQ(order(), (QList<QUuid>{b, c, a}));
    EXPECT_EQ(undoable(), base + 3);
}

} // namespace
} // namespace markvane::testing

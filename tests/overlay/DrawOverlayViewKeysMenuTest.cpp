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

// Runs a menu command on what lies at a global point.
void choose(DrawOverlayView& view, QPointF at, const QString& title) {
    const auto menu = view.contextMenuAt(at);
    ASSERT_TRUE(menu);
    QList<QAction*> actions = menu->actions() + menu->actions().last()->menu()->actions();
    for (QAction* action : actions) {
        if (action->text().section(u'\t', 0, 0) == title)
            return action->trigger();
    }
    FAIL() << title.toStdString();
}

TEST_F(DrawViewKeys, KeysGoToTheHostFirst) {
    host.consumeKeys = true;
    store.setTool(Tool::pen);
    key(Qt::Key_Z, Qt::ControlModifier, "\x1a");
    key(Qt::Key_Escape);
    ASSERT_EQ(host.offered.size(), 2);
    EXPECT_EQ(host.offered[0].modifierFlags, 0x40000u);
    EXPECT_EQ(store.tool(), Tool::pen) << "a consumed Escape does not step back";
}

TEST_F(DrawViewKeys, EscapeStepsBackOneLevelPerPress) {
    freeze(2, {0, 0});
    const QUuid rect = addRectangle({100, 100}, {200, 200});
    store.setTool(Tool::pen);
    store.setSelectedID(rect); // the pen cleared it; set it again to see every level
    store.beginStroke({10, 10});
    const auto escape = [&] { key(Qt::Key_Escape); };
    escape();
    EXPECT_FALSE(view->freezeZoom().isFrozen());
    EXPECT_TRUE(store.activeAnnotation());
    escape();
    EXPECT_FALSE(store.activeAnnotation());
    EXPECT_EQ(store.selectedID(), rect);
    escape();
    EXPECT_FALSE(store.selectedID());
    EXPECT_EQ(store.tool(), Tool::pen);
    view->freezeZoom().zoomCapturePending = true; // a pending capture is no level
    escape();
    EXPECT_EQ(store.tool(), Tool::move);
    EXPECT_TRUE(host.drawMode);
    escape();
    EXPECT_FALSE(host.drawMode);
    EXPECT_EQ(store.annotations().size(), 1);
}

TEST_F(DrawViewMenu, OnlyWithMoveAndAnAnnotationWhichItSelects) {
    const QUuid rect = addRectangle({100, 100}, {200, 200});
    store.setTool(Tool::pen);
    EXPECT_FALSE(view->contextMenuAt({150, 150}));
    store.setTool(Tool::move);
    EXPECT_FALSE(view->contextMenuAt({500, 500}));
    const auto menu = view->contextMenuAt({150, 150});
    ASSERT_TRUE(menu);
    EXPECT_EQ(store.selectedID(), rect);
    EXPECT_EQ(titles(*menu), (QStringList{"Cut\tCtrl+X", "Copy\tCtrl+C", "Delete\tDelete",
                                          "Duplicate\tCtrl+D", "-", "Arrange"}));
    EXPECT_EQ(titles(*menu->actions().last()->menu()),
              (QStringList{"Bring to Front", "Bring Forward", "Send Backward", "Send to Back"}));
}

TEST_F(DrawViewMenu, CopyCutDuplicateDelete) {
    store.setAnnotationImager([](const Annotation&) {
        return std::optional<QImage>(QImage(10, 10, QImage::Format_ARGB32));
    });
    addRectangle({100, 100}, {200, 200});
    choose(*view, {150, 150}, "Copy");
    EXPECT_EQ(pasteboard.writeCount, 1);
    EXPECT_EQ(undoSteps(), 1) << "copy changes nothing";
    choose(*view, {150, 150}, "Duplicate");
    ASSERT_EQ(store.annotations().size(), 2);
    EXPECT_EQ(store.annotations()[1].points.first(), QPointF(114, 86));
    choose(*view, {150, 150}, "Delete"); // the copy, on top
    EXPECT_EQ(store.annotations().first().points.first(), QPointF(100, 100));
    choose(*view, {150, 150}, "Cut");
    EXPECT_EQ(pasteboard.writeCount, 2);
    EXPECT_TRUE(store.annotations().isEmpty());
    EXPECT_EQ(undoSteps(), 4);
}

TEST_F(DrawViewMenu, EachArrangeEntryRunsItsOwnCommand) {
    const QUuid a = addRectangle({100, 100}, {200, 200});
    const QUuid b = addRectangle({300, 100}, {400, 200});
    const QUuid c = addRectangle({500, 100}, {600, 200});
    // Each from an end of the list, where "forward" and "to front" differ.
    const struct {
        QPointF at;
        const char* title;
        QList<QUuid> order;
    } steps[] = {{{150, 150}, "Bring Forward", {b, a, c}},
                 {{550, 150}, "Send Backward", {b, c, a}},
                 {{350, 150}, "Bring to Front", {c, a, b}},
                 {{350, 150}, "Send to Back", {b, c, a}}};
    for (const auto& step : steps) {
        choose(*view, step.at, step.title);
        QList<QUuid> order;
        for (const Annotation& annotation : store.annotations())
            order.append(annotation.id);
        EXPECT_EQ(order, step.order) << step.title;
    }
}

} // namespace
} // namespace markvane::testing

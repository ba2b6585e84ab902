#include "ui/common/ScreenFit.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QWidget>

#include <algorithm>

namespace nkp::ui {

QRect availableArea(const QWidget* window)
{
    const QScreen* screen = window ? window->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void fitToScreen(QWidget* window, QSize designSize)
{
    const QRect area = availableArea(window);
    if (area.isEmpty()) {
        window->resize(designSize);
        return;
    }
    // A shown window knows its frame; before that the usual frame is assumed.
    const QSize frame = window->isVisible() && window->frameGeometry().size() != window->size()
        ? window->frameGeometry().size() - window->size()
        : kFrameReserve;
    const QSize room = (area.size() - frame).expandedTo(QSize(1, 1));
    window->setMinimumSize(window->minimumSize().boundedTo(room));
    window->setMaximumSize(window->maximumSize().expandedTo(window->minimumSize()));
    const QSize size = designSize.boundedTo(room).boundedTo(window->maximumSize());
    window->resize(size);

    // A dialog centres itself on its parent, within the screen, when shown.
    if (qobject_cast<QDialog*>(window))
        return;
    const QWidget* parent = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    QRect target(QPoint(), size + frame);
    target.moveCenter(parent && parent->isVisible() ? parent->frameGeometry().center() : area.center());
    // Kept inside the area, so that the title bar never leaves the screen.
    target.moveLeft(
        std::clamp(target.left(), area.left(), std::max(area.left(), area.right() - target.width() + 1)));
    target.moveTop(
        std::clamp(target.top(), area.top(), std::max(area.top(), area.bottom() - target.height() + 1)));
    window->move(target.topLeft());
}

namespace {

// A scroll area that asks for its content's whole size (a plain one caps
// its wish at a few dozen lines) and makes do with little.
class FittingScrollArea : public QScrollArea {
public:
    QSize sizeHint() const override
    {
        const int frame = 2 * frameWidth();
        return widget() ? widget()->sizeHint() + QSize(frame, frame) : QScrollArea::sizeHint();
    }
};

}  // namespace

QScrollArea* scrollable(QWidget* content)
{
    auto* area = new FittingScrollArea;
    area->setObjectName(content->objectName() + QStringLiteral("_Scroll"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(content);
    return area;
}

}  // namespace nkp::ui

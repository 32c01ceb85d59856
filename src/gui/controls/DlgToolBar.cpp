#include "controls/DlgToolBar.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QToolButton>

#include "controls/ControlDrawing.h"
#include "controls/IconIds.h"

CDlgToolBar::CDlgToolBar(QWidget* parent) : QToolBar(parent) {
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // The idle moment is when the event loop is about to wait for more input.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &CDlgToolBar::UpdateButtons);
}

void CDlgToolBar::SetIcons(const QList<int>& iconIds, int width, int height) {
    m_images.clear();
    setIconSize(QSize(width, height));
    for (int id : iconIds) {
        QIcon icon;
        for (qreal dpr : {1.0, 2.0, 3.0})
            icon.addPixmap(ControlDrawing::SvgPixmap(IconPath(id), QSize(width, height), dpr));
        m_images.push_back(icon);
    }
    for (QAction* a : m_buttons) {
        const int image = a->property("image").toInt();
        a->setIcon(image >= 0 && image < int(m_images.size()) ? m_images[size_t(image)] : QIcon());
    }
}

QAction* CDlgToolBar::AddButton(int commandId, int image, const QString& caption, const QString& tooltip) {
    QAction* a = addAction(caption);
    a->setData(commandId);
    a->setProperty("image", image);
    a->setToolTip(tooltip.left(kMaxTooltip));
    if (image >= 0 && image < int(m_images.size())) a->setIcon(m_images[size_t(image)]);
    connect(a, &QAction::triggered, this, [this, commandId] { emit CommandTriggered(commandId); });
    if (QWidget* w = widgetForAction(a)) w->setMinimumSize(m_buttonSize);
    m_buttons.append(a);
    return a;
}

void CDlgToolBar::AddSeparator() { addSeparator(); }

QAction* CDlgToolBar::Button(int commandId) const {
    for (QAction* a : m_buttons)
        if (a->data().toInt() == commandId) return a;
    return nullptr;
}

void CDlgToolBar::SetButtonSize(const QSize& size) {
    m_buttonSize = size;
    for (QAction* a : m_buttons)
        if (QWidget* w = widgetForAction(a)) w->setMinimumSize(m_buttonSize);
}

void CDlgToolBar::SetUpdateRule(UpdateRule rule) {
    m_rule = std::move(rule);
    UpdateButtons();
}

void CDlgToolBar::UpdateButtons() {
    if (!m_rule || !isVisible()) return;
    for (QAction* a : m_buttons) {
        const bool enabled = m_rule(a->data().toInt());
        if (a->isEnabled() != enabled) a->setEnabled(enabled);
    }
}

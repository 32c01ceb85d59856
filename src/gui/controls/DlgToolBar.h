#pragma once

#include <QIcon>
#include <QList>
#include <QToolBar>
#include <functional>
#include <vector>

class QAction;

// A toolbar for dialog windows: images from one icon list, captions under the images,
// and buttons whose enabled state follows the owner's rules whenever the program is idle.
class CDlgToolBar : public QToolBar {
    Q_OBJECT
public:
    // Answers whether a command is enabled now.
    using UpdateRule = std::function<bool(int commandId)>;
    static constexpr int kMaxTooltip = 79;

    explicit CDlgToolBar(QWidget* parent = nullptr);

    // Makes the image list: every icon (by number, see IconIds.h) at width x height.
    void SetIcons(const QList<int>& iconIds, int width, int height);
    int ImageCount() const { return int(m_images.size()); }

    // A button for a command, with image, caption and tooltip (cut to 79 characters).
    QAction* AddButton(int commandId, int image, const QString& caption, const QString& tooltip);
    void AddSeparator();
    QAction* Button(int commandId) const;
    void SetButtonSize(const QSize& size);

    void SetUpdateRule(UpdateRule rule);
    // Asks the rule for every button; does nothing while the toolbar is hidden.
    void UpdateButtons();

signals:
    void CommandTriggered(int commandId);

private:
    std::vector<QIcon> m_images;
    QList<QAction*> m_buttons;
    UpdateRule m_rule;
    QSize m_buttonSize{54, 54};
};

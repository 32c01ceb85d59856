#include "views/LiveGraphWindow.h"

#include <QCoreApplication>
#include <QPointer>
#include <QRect>

#include "views/DinGraphDlg.h"
#include "views/GraphStateEvent.h"

namespace {

LiveGraphFactory& Factory() {
    static LiveGraphFactory factory;
    return factory;
}

// The program's live graph window: a top-level window of its own (not owned by the
// page's window), created hidden and centred over the page when it is first shown; the
// page is not laid out yet when it makes the window.
class DinGraphWindow final : public ILiveGraphWindow {
public:
    explicit DinGraphWindow(QWidget* page) : m_page(page) {}
    QWidget* Window() override { return &m_window; }
    void AddPoint(uint32_t code, int32_t raw) override { m_window.AddPoint(code, raw); }
    void ClearGraph() override { m_window.ClearGraph(); }
    void SetDeviceName(const QString& name) override { m_window.SetDeviceName(name); }
    void SetLinkState(int graphState) override {
        CGraphStateEvent event(graphState);
        QCoreApplication::sendEvent(&m_window, &event);
    }
    void ShowForDevice(const QString& deviceName, bool topmost) override {
        if (!m_placed && m_page) {
            const QRect over(m_page->mapToGlobal(QPoint(0, 0)), m_page->size());
            QRect frame = m_window.frameGeometry();
            frame.moveCenter(over.center());
            m_window.move(frame.topLeft());
        }
        m_placed = true;
        m_window.ShowForDevice(deviceName, topmost);
    }

private:
    QPointer<QWidget> m_page;
    bool m_placed = false;  // later shows keep where the operator put it
    CDinGraphDlg m_window;
};

}  // namespace

void SetLiveGraphFactory(LiveGraphFactory factory) { Factory() = std::move(factory); }

std::unique_ptr<ILiveGraphWindow> CreateLiveGraphWindow(QWidget* page) {
    if (Factory()) return Factory()(page);
    return std::make_unique<DinGraphWindow>(page);
}

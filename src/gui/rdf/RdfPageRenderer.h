#pragma once

#include <QImage>
#include <QObject>
#include <optional>
#include <thread>

#include "rdf/RdfPrintLayout.h"

// Renders the printed page on a thread of its own, so the print dialog keeps answering
// while a page of a large recording is drawn at printer resolution. One page at a time:
// a request made meanwhile waits, and only the newest waiting one is rendered after it.
// The set the content refers to must stay unchanged until Idle().
class CRdfPageRenderer : public QObject {
    Q_OBJECT
public:
    struct Request {
        RdfPrintContent content;
        QSize sheet;
        RdfEdges margins;
        RdfPrintScale scale;
        QString comment;
    };

    explicit CRdfPageRenderer(QObject* parent = nullptr);
    ~CRdfPageRenderer() override;

    void Render(Request request);
    // Forgets the waiting request and the page; a page being drawn is thrown away.
    void Clear();
    bool Idle() const { return !m_running && !m_pending; }
    // Runs the event loop until the newest request is rendered.
    void WaitIdle();
    // The newest page (null until one is rendered, or when its bitmap could not be had).
    const QImage& Page() const { return m_page; }

signals:
    // A page is ready; failed when its bitmap could not be had.
    void Rendered(bool failed);

private:
    void StartNext();
    void OnDone(QImage page, bool failed);

    std::thread m_thread;
    bool m_running = false;
    bool m_discard = false;
    std::optional<Request> m_pending;
    QImage m_page;
};

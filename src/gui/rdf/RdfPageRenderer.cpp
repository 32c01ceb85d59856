#include "rdf/RdfPageRenderer.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <chrono>

#include "rdf/RdfPrintPainter.h"

CRdfPageRenderer::CRdfPageRenderer(QObject* parent) : QObject(parent) {}

CRdfPageRenderer::~CRdfPageRenderer() {
    if (m_thread.joinable()) m_thread.join();
}

void CRdfPageRenderer::Render(Request request) {
    m_pending = std::move(request);
    m_discard = false;
    if (!m_running) StartNext();
}

void CRdfPageRenderer::Clear() {
    m_pending.reset();
    m_page = QImage();
    m_discard = m_running;
}

void CRdfPageRenderer::WaitIdle() {
    while (!Idle()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (!Idle()) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

void CRdfPageRenderer::StartNext() {
    if (!m_pending) return;
    if (m_thread.joinable()) m_thread.join();
    Request r = std::move(*m_pending);
    m_pending.reset();
    m_running = true;
    m_thread = std::thread([this, r = std::move(r)] {
        QImage page = RdfPrintPainter::NewPageBitmap(r.sheet);
        const bool failed = page.isNull();
        if (!failed) RdfPrintPainter::RenderPrintPage(page, r.content, r.margins, r.scale, r.comment);
        QMetaObject::invokeMethod(
            this, [this, page = std::move(page), failed]() mutable { OnDone(std::move(page), failed); },
            Qt::QueuedConnection);
    });
}

void CRdfPageRenderer::OnDone(QImage page, bool failed) {
    m_running = false;
    if (m_thread.joinable()) m_thread.join();
    if (m_pending) {
        StartNext();  // this page is already out of date
        return;
    }
    if (m_discard) {
        m_discard = false;
        return;
    }
    m_page = std::move(page);
    emit Rendered(failed);
}

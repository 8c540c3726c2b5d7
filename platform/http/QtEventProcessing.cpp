#include "http/QtEventProcessing.h"

#include <QCoreApplication>

namespace velkaro::http {

HttpClient::IdleHook qtEventProcessing() {
    return [] { QCoreApplication::processEvents(QEventLoop::AllEvents); };
}

} // namespace velkaro::http

// The Qt event loop keeps running while a request waits.
#include "LoopbackHttpServer.h"
#include "http/QtEventProcessing.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace velkaro::http {
namespace {

TEST(HttpClientQt, TimersKeepFiringWhileASlowServerThinks) {
    testing::LoopbackHttpServer server;
    testing::Reply slow = testing::Reply::ok("after a second");
    slow.delay = std::chrono::milliseconds(1000);
    server.on("/slow", slow);

    HttpClient client;
    client.setIdleHook(qtEventProcessing());
    int ticks = 0;
    QTimer timer;
    timer.setInterval(100);
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start();

    EXPECT_EQ(client.get(server.url("/slow")), "after a second");
    EXPECT_GE(ticks, 5);
}

} // namespace
} // namespace velkaro::http

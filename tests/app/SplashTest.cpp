#include "app/TForm1.h"
#include "job/CommandUrl.h"

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest.h>

#include <memory>

namespace {

class NoPrinters final : public PrinterList {
public:
    std::vector<std::string> installedPrinterNames() const override { return {}; }
};

TForm1::Environment testEnvironment(std::string commandUrl, QSize screen, std::vector<QString>* messages) {
    TForm1::Environment environment;
    environment.commandUrl = std::move(commandUrl);
    environment.screenSize = [screen] { return screen; };
    environment.printers = std::make_shared<NoPrinters>();
    environment.showMessage = [messages](const QString&, const QString& text) { messages->push_back(text); };
    return environment;
}

} // namespace

TEST(Splash, SlidesIntoTheBottomRightCornerThenStartsTheJob) {
    std::vector<QString> messages;
    TForm1 form(testEnvironment("", QSize(1920, 1080), &messages));
    EXPECT_EQ(form.geometry(), QRect(1862, 1080, 48, 48));
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.tmrShow->isActive());
    EXPECT_EQ(form.tmrShow->interval(), 10);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.Timer1->interval(), 10);
    EXPECT_TRUE(form.Timer2->isActive());
    EXPECT_EQ(form.Timer2->interval(), 100);
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_NEAR(form.windowOpacity(), 127.0 / 255.0, 0.01);

    const int expectedTops[] = {1060, 1040, 1020, 1000};
    for (int top : expectedTops) {
        form.tmrShowTimer();
        EXPECT_EQ(form.y(), top);
        EXPECT_FALSE(form.jobStarted());
        EXPECT_TRUE(form.tmrShow->isActive());
    }
    // The fifth tick finds Top at or above the stop line (1002): the job starts, the slide stops.
    form.tmrShowTimer();
    EXPECT_TRUE(form.jobStarted());
    EXPECT_FALSE(form.tmrShow->isActive());
    EXPECT_EQ(form.frameGeometry().left(), 1862);
    EXPECT_EQ(form.frameGeometry().right(), 1909);
    EXPECT_EQ(form.frameGeometry().top(), 1000);
    EXPECT_EQ(form.frameGeometry().bottom(), 1047);
    // An empty command URL ends the job at once, without a message.
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_TRUE(messages.empty());
}

TEST(Splash, StopLineFollowsTheScreenHeight) {
    std::vector<QString> messages;
    // 1000 - 78 = 922: Tops 980, 960, 940, 920; the stop comes on the fifth tick at 920.
    TForm1 form(testEnvironment("   ", QSize(800, 1000), &messages));
    EXPECT_EQ(form.x(), 800 - 48 - 10);
    int ticks = 0;
    while (!form.jobStarted() && ticks < 100) {
        form.tmrShowTimer();
        ++ticks;
    }
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(form.y(), 920);
    EXPECT_TRUE(form.Timer1->isActive());
}

TEST(Splash, JobTitleBecomesTheApplicationTitle) {
    std::vector<QString> messages;
    TForm1 form(testEnvironment("qlx3://127.0.0.1:9/fr3.php?f=factura", QSize(1920, 1080), &messages));
    EXPECT_EQ(form.applicationTitle(), "Velkaro");
    EXPECT_EQ(form.windowTitle(), "Velkaro");
    while (!form.jobStarted())
        form.tmrShowTimer();
    EXPECT_EQ(form.applicationTitle(), "factura");
    EXPECT_EQ(form.windowTitle(), "factura");
    EXPECT_EQ(TemplateParamF, "factura");
    EXPECT_EQ(ServerHost, "127.0.0.1");
}

TEST(Splash, ProgramWithoutArgumentSlidesInAndExits) {
    const QString program = QStringLiteral(VELKARO_BINARY_DIR "/velkaro");
    for (const QStringList& arguments : {QStringList{}, QStringList{QStringLiteral("   ")}}) {
        QProcess process;
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.start(program, arguments);
        ASSERT_TRUE(process.waitForStarted(10000));
        ASSERT_TRUE(process.waitForFinished(20000)) << "the program did not end";
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
        EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
    }
}

#include "app/LocaleFormats.h"
#include "app/PlatformChoice.h"
#include "app/TForm1.h"
#include "base/FormatSettings.h"
#include "job/CommandUrl.h"

#include <QCoreApplication>
#include <QLocale>
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
    EXPECT_EQ(form.frxReport1.datasetScope(), velkaro::report::DatasetScope::Application);
    form.tmrShowTimer();
    EXPECT_TRUE(form.jobStarted());
    EXPECT_FALSE(form.tmrShow->isActive());
    EXPECT_EQ(form.frxReport1.datasetScope(), velkaro::report::DatasetScope::ReportLists);
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

TEST(Platform, XWaylandWhenTheSessionIsWayland) {
    const struct {
        QStringList variables;
        QByteArray platform;
    } cases[] = {
        {{"XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"}, "xcb"},
        {{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:1"}, "xcb"},
        {{"XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=wayland-0"}, ""},             // no XWayland
        {{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0", "QT_QPA_PLATFORM=wayland"}, ""}, // the user chose
        {{"XDG_SESSION_TYPE=x11", "DISPLAY=:0"}, ""},
        {{}, ""},
    };
    for (const auto& c : cases) {
        QProcessEnvironment environment;
        for (const QString& variable : c.variables)
            environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
        EXPECT_EQ(PreferredPlatform(environment), c.platform) << c.variables.join(' ').toStdString();
    }
}

TEST(LocaleFormats, DatesFollowTheLocaleNumbersStayFixed) {
    velkaro::FormatSettings settings;
    CopyLocaleFormats(QLocale(QLocale::German, QLocale::Germany), settings);
    EXPECT_EQ(settings.decimalSeparator, '.');
    EXPECT_EQ(settings.thousandSeparator, ',');
    EXPECT_EQ(settings.shortDateFormat, "dd.mm.yyyy");
    EXPECT_EQ(settings.dateSeparator, '.');
    EXPECT_EQ(settings.longTimeFormat, "hh:nn:ss");
    EXPECT_EQ(settings.timeSeparator, ':');
    EXPECT_EQ(settings.longMonthNames[0], "Januar");
    EXPECT_EQ(settings.longDayNames[0], "Sonntag");

    CopyLocaleFormats(QLocale(QLocale::Spanish, QLocale::Spain), settings);
    EXPECT_EQ(settings.shortDateFormat, "d/m/yyyy"); // two-digit years widened
    EXPECT_EQ(settings.longMonthNames[11], "diciembre");
    EXPECT_EQ(settings.shortTimeFormat, "h:nn");
}

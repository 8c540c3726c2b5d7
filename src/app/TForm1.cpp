#include "app/TForm1.h"

#include "app/LocaleFormats.h"
#include "base/FormatSettings.h"
#include "job/SystemPrinterList.h"

#include <QGuiApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>

namespace {
constexpr int kFormSize = 48;
constexpr int kSlideStep = 20;
constexpr int kStopMargin = 30;  // the stop line is screen height - form height - 30
constexpr int kRightMargin = 10; // Left = screen width - form width - 10
} // namespace

TForm1::Environment TForm1::systemEnvironment(std::string commandUrl) {
    Environment environment;
    environment.commandUrl = std::move(commandUrl);
    environment.screenSize = [] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen != nullptr ? screen->size() : QSize(0, 0);
    };
    environment.printers = std::make_shared<SystemPrinterList>();
    environment.showMessage = [](const QString& caption, const QString& text) {
        QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
        box.exec();
    };
    return environment;
}

TForm1::TForm1(Environment environment)
    : QWidget(nullptr, Qt::FramelessWindowHint), tmrShow(new QTimer(this)), Timer1(new QTimer(this)),
      Timer2(new QTimer(this)), environment_(std::move(environment)) {
    setAttribute(Qt::WA_TranslucentBackground); // the fuchsia of the form is see-through
    setWindowOpacity(127.0 / 255.0);
    Image1.load(QStringLiteral(":/velkaro/splash.png"));
    setWindowIcon(QIcon(QStringLiteral(":/velkaro/velkaro.png")));

    tmrShow->setInterval(10);
    Timer1->setInterval(10);
    Timer2->setInterval(100);
    connect(tmrShow, &QTimer::timeout, this, &TForm1::tmrShowTimer);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TForm1::Timer2Timer);

    setApplicationTitle(QStringLiteral("Velkaro"));
    FormCreate();
    tmrShow->start();
    Timer2->start();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    setFixedSize(kFormSize, kFormSize);
    const QSize screen = environment_.screenSize();
    move(screen.width() - width() - kRightMargin, screen.height());

    velkaro::FormatSettings& format = velkaro::FormatSettings::process();
    CopyLocaleFormats(QLocale::system(), format);
    format.decimalSeparator = '.';
    format.thousandSeparator = ',';
    show();
}

void TForm1::setApplicationTitle(const QString& title) {
    applicationTitle_ = title;
    setWindowTitle(title); // the taskbar shows the window's title
}

void TForm1::ShowPlainMessage(const QString& text) {
    if (environment_.showMessage)
        environment_.showMessage(applicationTitle_, text);
}

void TForm1::tmrShowTimer() {
    const int stopLine = environment_.screenSize().height() - height() - kStopMargin;
    if (y() > stopLine) {
        move(x(), y() - kSlideStep);
        return;
    }
    tmrShow->stop();
    RunReportJob();
}

void TForm1::Timer1Timer() {
    Timer1->stop();
    close();
    QCoreApplication::quit();
}

void TForm1::Timer2Timer() {
    // The designer's caption upkeep arrives with the designer.
}

void TForm1::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), Image1); // stretched over the whole form
}

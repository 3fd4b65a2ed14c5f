// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/splashwindow.h"

#include "app/appartwork.h"
#include "backup/datarecovery.h"
#include "store/programcontext.h"
#include "store/text/error.h"
#include "ui/errorbox.h"
#include "ui/gradient.h"
#include "ui/look.h"
#include "ui/modal.h"
#include "ui/slotguard.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QTimer>

namespace velmora {

namespace {

const QColor kMiddle(172, 184, 204);
const QColor kEdges(77, 96, 128);
const QColor kHeadingShadow(30, 37, 49);

void letEventsRun() {
    QCoreApplication::processEvents();
}

} // namespace

SplashWindow::SplashWindow(ProgramContext &context)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_context(context)
    , m_startTimer(new QTimer(this)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(m_context.title());
    setFixedSize(424, 201);
    setCursor(Qt::WaitCursor);

    m_startTimer->setObjectName(QLatin1String(kStartTimer));
    m_startTimer->setSingleShot(true);
    m_startTimer->setInterval(1000);
    connect(m_startTimer, &QTimer::timeout, this, guardSlot([this] { runStartup(); }));

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image2"));
    icon->setPixmap(AppArtwork::programIcon(48));
    icon->setGeometry(26, 24, 48, 48);

    m_heading =
        shadowedLabel("Label1", "Label2", Look::arial(29), kHeadingShadow, {88, 26}, {-1, 3});
    m_headingShadow = findChild<QLabel *>(QStringLiteral("Label2"));
    // The heading is written when the window is made.
    m_heading->setText(m_context.title());
    m_headingShadow->setText(m_context.title());

    QFont italic = Look::arial(13);
    italic.setItalic(true);
    QLabel *subtitle = shadowedLabel("Label3", "Label4", italic, kHeadingShadow, {112, 72}, {1, 1});
    subtitle->setText(QStringLiteral("Evidenta foi de parcurs"));
    findChild<QLabel *>(QStringLiteral("Label4"))->setText(subtitle->text());

    m_status = new QLabel(QStringLiteral("Incarcare date"), this);
    m_status->setObjectName(QStringLiteral("Label5"));
    m_status->setFont(italic);
    Look::setTextColor(m_status, Qt::blue);
    m_status->move(52, 140);
    m_status->resize(320, 18);

    m_barPattern = new QLabel(this);
    m_barPattern->setObjectName(QStringLiteral("Image1"));
    m_barPattern->setPixmap(AppArtwork::progressPattern());
    m_barPattern->hide();

    Modal::centreOnScreen(*this);
}

QLabel *SplashWindow::shadowedLabel(const char *name, const char *shadowName, const QFont &font,
                                    const QColor &shadow, QPoint at, QPoint shadowOffset) {
    auto *copy = new QLabel(this);
    copy->setObjectName(QLatin1String(shadowName));
    copy->setFont(font);
    Look::setTextColor(copy, shadow);
    copy->move(at + shadowOffset);
    copy->resize(330, font.pixelSize() + 10);

    auto *label = new QLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    Look::setTextColor(label, Qt::white);
    label->move(at);
    label->resize(330, font.pixelSize() + 10);
    return label;
}

int SplashWindow::progressWidth() const {
    // ProgressValue x 3.1, truncated to whole pixels: 155 after one table, 310 after both.
    return static_cast<int>(m_progressValue.units() * 31 / (Fixed4::kScale * 10));
}

void SplashWindow::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    letEventsRun();
    m_startTimer->start();
}

void SplashWindow::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    Gradient::paintFromMiddle(painter, rect(), kMiddle, kEdges, Gradient::Direction::TopToBottom,
                              64);
    const int width = progressWidth();
    if (width > 0) {
        painter.setBrushOrigin(kBarLeft, kBarTop);
        painter.fillRect(QRect(kBarLeft, kBarTop, width, kBarBottom - kBarTop),
                         QBrush(m_barPattern->pixmap()));
    }
}

void SplashWindow::runStartup() {
    m_startTimer->stop();
    // Numbers become text through TextForm, which always writes "." and no thousands
    // separator, so there is no process-wide number format to switch here.
    letEventsRun();

    // What a restore or backup killed half-way left is dealt with before the tables are
    // looked at, and said with the repairs.
    QStringList recovered;
    try {
        m_context.store().ensureDataDir();
        recovered = DataRecovery::recover(m_context.programDir());
        m_context.CreateTables();
        letEventsRun();
    } catch (const Error &error) {
        // Without its tables the program cannot work; rather than stay behind the splash it
        // says why and ends. The splash stays on top of every window, so it goes first: the
        // box under it could be neither read nor answered.
        setCursor(Qt::ArrowCursor);
        hide();
        letEventsRun();
        ErrorBox::show(error.message());
        Q_EMIT startupFailed();
        return;
    }

    QString failure;
    QStringList repairs = recovered;
    // A table that cannot be read leaves the lists empty, but the program goes on: the menu
    // is where the user restores a backup.
    try {
        if (m_loadPickLists)
            m_loadPickLists();
    } catch (const Error &error) {
        failure = error.message();
    }
    try {
        m_progressValue = Fixed4();
        update();
        m_context.writeStartSettings();
        m_status->setText(QStringLiteral("Refac bazele de date ..."));
        letEventsRun();
        repairs += m_context.packTables([this](int n) { StepProgress(n); });
    } catch (const Error &error) {
        if (failure.isEmpty())
            failure = error.message();
    }

    setCursor(Qt::ArrowCursor);
    hide();
    Q_EMIT workDone();
    letEventsRun();
    if (!failure.isEmpty())
        ErrorBox::show(failure);
    if (!repairs.isEmpty())
        Q_EMIT tablesRepaired(repairs);
    Q_EMIT startupFinished();
}

void SplashWindow::StepProgress(int n) {
    m_progressValue = Fixed4::fromUnits(m_progressValue.units() + n * Fixed4::kScale);
    repaint(QRect(kBarLeft, kBarTop, width() - kBarLeft, kBarBottom - kBarTop));
    letEventsRun();
}

} // namespace velmora

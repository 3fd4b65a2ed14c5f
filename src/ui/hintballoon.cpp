// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/hintballoon.h"

#include "ui/artwork.h"
#include "ui/look.h"

#include <QApplication>
#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPropertyAnimation>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>

namespace velmora {

namespace {

const QColor kBackground(0xFD, 0xFE, 0xE7);
constexpr int kPad = 10;
constexpr int kPicture = 16;
constexpr int kTitleTop = 12;
constexpr int kGap = 8;

QString title() {
    return QStringLiteral("Problema !");
}

QFont titleFont() {
    return Look::tahoma(8, true);
}

int textTop() {
    const int titleBottom = kTitleTop + QFontMetrics(titleFont()).height();
    return std::max(kPad + kPicture, titleBottom) + kGap;
}

} // namespace

HintBalloon::HintBalloon(const QString &text, QWidget *control)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_text(text)
    , m_control(control)
    , m_lifetime(new QTimer(this)) {
    setObjectName(QStringLiteral("Hint1"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFont(Look::tahoma(8));

    m_lifetime->setSingleShot(true);
    m_lifetime->setInterval(kLifetime);
    connect(m_lifetime, &QTimer::timeout, this, &HintBalloon::release);
    if (control)
        connect(control, &QObject::destroyed, this, &HintBalloon::release);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s != Qt::ApplicationActive)
            release();
    });
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *window) {
        if (window != m_activeWindow && window != windowHandle())
            release();
    });
    qApp->installEventFilter(this);
}

HintBalloon::~HintBalloon() {
    qApp->removeEventFilter(this);
}

QSize HintBalloon::contentAt(int width) const {
    const QFontMetrics text(font());
    const QRect wrapped = text.boundingRect(QRect(0, 0, std::max(1, width - 2 * kPad), 100000),
                                            Qt::TextWordWrap, m_text);
    const int titleRight =
        kPad + kPicture + kGap + QFontMetrics(titleFont()).horizontalAdvance(title());
    const int used = std::max(titleRight, kPad + wrapped.width()) + kPad;
    return QSize(std::min(width, used), textTop() + wrapped.height() + kPad);
}

void HintBalloon::popUp() {
    QRect control;
    QScreen *screen = nullptr;
    if (m_control) {
        control = QRect(m_control->mapToGlobal(QPoint(0, 0)), m_control->size());
        screen = m_control->screen();
    }
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);

    const auto rooms = HintPlacement::rooms(control, area, kPointer);
    const QSize largest = rooms[HintPlacement::largestRoom(rooms)];
    const int minWidth = contentAt(0).width();
    m_width = HintPlacement::fitWidth(largest, kPreferredWidth, kNarrowStep, minWidth,
                                      [this](int w) { return contentAt(w); });
    m_content = contentAt(m_width);
    m_corner = HintPlacement::choose(control, area, m_content, kPointer);

    QRect frame = HintPlacement::balloonRect(m_corner, control, m_content,
                                             QSize(kPointer, kPointer), kPointerOffset);
    const QPoint tip = HintPlacement::tip(m_corner, control);
    // When no corner has room enough the balloon is kept on the screen; the pointer then
    // slides along the body so that its tip still meets the corner where it can.
    frame.moveLeft(std::clamp(frame.left(), area.left(),
                              std::max(area.left(), area.right() - frame.width() + 1)));
    frame.moveTop(std::clamp(frame.top(), area.top(),
                             std::max(area.top(), area.bottom() - frame.height() + 1)));
    const bool leftward =
        m_corner == HintPlacement::TopLeft || m_corner == HintPlacement::BottomLeft;
    const int lowest = leftward ? kRadius + kPointer : kRadius;
    const int highest =
        leftward ? frame.width() - 1 - kRadius : frame.width() - 1 - kRadius - kPointer;
    m_pointerX = std::clamp(tip.x() - frame.left(), lowest, std::max(lowest, highest));

    setGeometry(frame);
    updateShape();

    m_activeWindow = QGuiApplication::focusWindow();
    setWindowOpacity(0.0);
    show();
    auto *fade = new QPropertyAnimation(this, "windowOpacity", this);
    fade->setDuration(kFadeIn);
    fade->setStartValue(0.0);
    fade->setEndValue(1.0);
    fade->start(QAbstractAnimation::DeleteWhenStopped);
    m_lifetime->start();
}

QRect HintBalloon::bodyRect() const {
    return HintPlacement::above(m_corner) ? QRect(0, 0, width(), height() - kPointer)
                                          : QRect(0, kPointer, width(), height() - kPointer);
}

QPainterPath HintBalloon::outline() const {
    // Lines run through pixel centres, so that the frame is one crisp pixel wide.
    const bool leftward =
        m_corner == HintPlacement::TopLeft || m_corner == HintPlacement::BottomLeft;
    const qreal x = m_pointerX + 0.5;
    const qreal far = leftward ? x - kPointer : x + kPointer;
    const QRectF body = QRectF(bodyRect()).adjusted(0.5, 0.5, -0.5, -0.5);
    // The pointer's base lies inside the body, so the union leaves no line across it.
    const bool up = HintPlacement::above(m_corner);
    const qreal base = up ? body.bottom() - kRadius : body.top() + kRadius;
    const qreal tipY = up ? height() - 0.5 : 0.5;
    const qreal edge = up ? body.bottom() : body.top();

    QPainterPath shape;
    shape.addRoundedRect(body, kRadius, kRadius);
    QPainterPath pointer;
    pointer.moveTo(far, base);
    pointer.lineTo(far, edge);
    pointer.lineTo(x, tipY);
    pointer.lineTo(x, base);
    pointer.closeSubpath();
    return shape.united(pointer).simplified();
}

void HintBalloon::updateShape() {
    // The mask is drawn the way the balloon is painted, frame included.
    QBitmap mask(size());
    mask.fill(Qt::color0);
    QPainter painter(&mask);
    painter.setPen(QPen(Qt::color1, 1));
    painter.setBrush(Qt::color1);
    painter.drawPath(outline());
    painter.end();
    setMask(mask);
}

void HintBalloon::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(kBackground);
    painter.drawPath(outline());

    painter.setRenderHint(QPainter::Antialiasing);
    const QPoint origin = bodyRect().topLeft();
    painter.drawPixmap(origin + QPoint(kPad, kPad), Artwork::error(kPicture));
    painter.setPen(Qt::black);
    painter.setFont(titleFont());
    const QFontMetrics titleMetrics(titleFont());
    painter.drawText(
        QRect(origin + QPoint(kPad + kPicture + kGap, kTitleTop),
              QSize(titleMetrics.horizontalAdvance(title()) + 2, titleMetrics.height())),
        Qt::AlignLeft | Qt::AlignTop, title());
    painter.setFont(font());
    painter.drawText(QRect(origin + QPoint(kPad, textTop()),
                           QSize(m_width - 2 * kPad, m_content.height() - textTop())),
                     Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, m_text);
}

void HintBalloon::mousePressEvent(QMouseEvent *event) {
    event->accept();
    release();
}

bool HintBalloon::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
        // A click anywhere else: the balloon goes, the click goes on to its target.
        if (watched != this && watched != windowHandle())
            release();
        break;
    case QEvent::Hide:
        if (watched == m_control)
            release();
        break;
    default:
        break;
    }
    return false;
}

void HintBalloon::release() {
    if (m_released)
        return;
    m_released = true;
    m_lifetime->stop();
    close();
}

} // namespace velmora

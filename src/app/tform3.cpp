#include "app/tform3.h"

#include "admin/passwordcodec.h"
#include "admin/tform4.h"
#include "admin/tform5.h"
#include "app/appartwork.h"
#include "app/application.h"
#include "app/tform1.h"
#include "app/tform2.h"
#include "store/text/textform.h"
#include "ui/keypreview.h"
#include "ui/look.h"
#include "ui/modal.h"
#include "ui/terori.h"

#include <QCloseEvent>
#include <QDate>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace velmora {

namespace {

const QColor kBackground(64, 80, 106);

} // namespace

TForm3::TForm3(Application &application)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint)
    , m_application(application) {
    setObjectName(QStringLiteral("Form3"));
    setFont(Look::dialogFont(8));
    Look::setBackground(this, kBackground);
    Look::setTextColor(this, Qt::yellow);
    setFixedHeight(kHeight);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(2, 0, 12, 0);
    buttons->setSpacing(2);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(buttons, 1);

    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setPixmap(AppArtwork::padlockOpen());
    m_image1->hide();
    m_image2 = new QLabel(this);
    m_image2->setObjectName(QStringLiteral("Image2"));
    m_image2->setPixmap(AppArtwork::padlockClosed());
    m_image2->hide();

    m_evidenta =
        addButton("MBut1", QStringLiteral("Evidenta"), QStringLiteral("Evidenta foi de parcurs."),
                  AppArtwork::records(), false);
    m_raport = addButton("MBut2", QStringLiteral("Raport"), QStringLiteral("Diverse rapoarte."),
                         AppArtwork::report(), false);
    m_admin = addButton("MButAdm", QStringLiteral("Administrare"),
                        QStringLiteral("Administrare program."), m_image2->pixmap(), true);
    m_salvare =
        addButton("MBut3", QStringLiteral("Salvare"),
                  QStringLiteral("Salvare sau restaurare date."), AppArtwork::backup(), false);
    m_about = addButton("ToolButton3", QStringLiteral("Despre..."),
                        QStringLiteral("Date despre program."), AppArtwork::about(), true);
    m_exit = addButton("ModelF", QStringLiteral("Iesire"), QStringLiteral("Inchide programul."),
                       AppArtwork::exit(), true);
    for (QToolButton *button : {m_evidenta, m_raport, m_admin, m_salvare, m_about, m_exit})
        buttons->addWidget(button);
    buttons->addStretch(1);

    m_date = new QLabel(this);
    m_date->setObjectName(QStringLiteral("Label1"));
    QFont dateFont(QStringLiteral("Arial Black"));
    dateFont.setPixelSize(32);
    dateFont.setBold(true);
    m_date->setFont(dateFont);
    Look::setTextColor(m_date, Qt::white);
    m_date->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    buttons->addWidget(m_date);

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    status->addWidget(new QLabel(QStringLiteral("ESC - Iesire din program"), status), 1);
    layout->addWidget(status);

    connect(m_evidenta, &QToolButton::clicked, this, &TForm3::evidentaRequested);
    connect(m_raport, &QToolButton::clicked, this, &TForm3::raportRequested);
    connect(m_salvare, &QToolButton::clicked, this, &TForm3::salvareRequested);
    connect(m_admin, &QToolButton::clicked, this, &TForm3::MButAdmClick);
    connect(m_about, &QToolButton::clicked, this, [this] { Modal::exec(m_application.form2()); });
    connect(m_exit, &QToolButton::clicked, this, &QWidget::close);

    auto *keys = new KeyPreview(this);
    keys->setHandler([this](QWidget *, QKeyEvent *event) { return FormKeyDown(event); });
}

QToolButton *TForm3::addButton(const char *name, const QString &caption, const QString &hint,
                               const QPixmap &picture, bool enabled) {
    auto *button = new QToolButton(this);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(QIcon(picture));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setFixedSize(90, 61);
    button->setFocusPolicy(Qt::NoFocus);
    button->setEnabled(enabled);
    // A closed command reads greyed on the dark strip.
    QPalette palette = button->palette();
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(150, 158, 170));
    button->setPalette(palette);
    return button;
}

void TForm3::showEvent(QShowEvent *event) {
    const QRect screenArea = (screen() ? screen() : QGuiApplication::primaryScreen())->geometry();
    resize(screenArea.width(), kHeight);
    move(screenArea.topLeft());
    m_date->setText(TextForm::date(QDate::currentDate()));
    QWidget::showEvent(event);
}

bool TForm3::FormKeyDown(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_F12:
        close();
        return true;
    case Qt::Key_F1:
        if (m_evidenta->isEnabled())
            m_evidenta->click();
        return true;
    case Qt::Key_F2:
        if (m_raport->isEnabled())
            m_raport->click();
        return true;
    default:
        // Esc closes the window through the shared key behaviour, which asks first.
        return false;
    }
}

void TForm3::closeEvent(QCloseEvent *event) {
    if (m_closeConfirmed) {
        event->accept();
        return;
    }
    const quint16 answer = m_application.erori().Mesaj(
        QStringLiteral("Inchidere program"), QStringLiteral("Vreti sa inchideti programul?"),
        TErori::Confirmare, TErori::DA | TErori::NU);
    if (answer != TErori::ResultYes) {
        event->ignore();
        return;
    }
    m_closeConfirmed = true;
    event->accept();
    Q_EMIT programEndRequested();
}

void TForm3::closeWithoutAsking() {
    m_closeConfirmed = true;
    close();
}

void TForm3::SetAccess(bool on) {
    m_admin->setIcon(QIcon((on ? m_image1 : m_image2)->pixmap()));
    m_admin->repaint();
    for (QToolButton *button : {m_evidenta, m_raport, m_salvare})
        button->setEnabled(on);
}

void TForm3::MButAdmClick() {
    TForm1 &form1 = m_application.form1();
    TForm4 &form4 = m_application.form4();
    const QString stored = form1.ReadSetting(QStringLiteral("Erori"));
    if (form1.AccessGranted()) {
        Modal::exec(form4);
        return;
    }
    if (stored.isEmpty()) {
        m_application.erori().Mesaj(QStringLiteral("Administrare"),
                                    QStringLiteral("        ATENTIE!\r\nNu aveti nici o parola!"),
                                    TErori::Atentie, TErori::OK);
        form4.grantAccess();
        return;
    }
    QString entry;
    if (!m_application.form5().InputQuery2(QStringLiteral("IDENTIFICARE ADMIN"),
                                           QStringLiteral("PAROLA :"), entry))
        return;
    if (!PasswordCodec::matches(entry, form1.ReadSetting(QStringLiteral("Erori")))) {
        m_application.erori().Mesaj(QStringLiteral("Greseala!"),
                                    QStringLiteral("PAROLA INCORECTA !"), TErori::Eroare,
                                    TErori::OK);
        return;
    }
    form4.grantAccess();
}

} // namespace velmora

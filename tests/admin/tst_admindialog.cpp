// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin/admindialog.h"
#include "admin/passwordcodec.h"
#include "contrast.h"
#include "reports/rtftext.h"
#include "reports/sheetprintout.h"
#include "reports/tripfixture.h"
#include "store/settings.h"
#include "ui/messagedialog.h"

#include "filebytes.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

using namespace velmora;

namespace {

// Types text as a keyboard does, one key at a time; letters beyond Latin-1 (ș, ț) come as
// the text of a key the test library has no code for.
void typeInto(QWidget *widget, const QString &text) {
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80)
            QTest::keyClick(widget, ch.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

const QString kStoredCompany = QStringLiteral("Firma Veche SRL");

} // namespace

class TestAdminDialog : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;
    MessageDialog *messages = nullptr;
    AdminDialog *form = nullptr;
    int beeps = 0;

    QLineEdit *edit(const char *name) const {
        return form->findChild<QLineEdit *>(QLatin1String(name));
    }
    QCheckBox *access() const {
        return form->findChild<QCheckBox *>(QLatin1String(AdminDialog::kAccessCheckBox));
    }

    // The next message takes this answer without showing; last() is what it asked.
    void answerNext(MessageResult answer) { messages->queueAnswer(answer); }
    const MessageRecord &last() const { return messages->shown().last(); }
    int asked() const { return int(messages->shown().size()); }

    static QString stored() { return Settings::read(QStringLiteral("Erori")); }
    static QString storedCompany() { return Settings::read(QStringLiteral("FIRMA")); }
    QPushButton *saveAndClose() const {
        return form->findChild<QPushButton *>(QLatin1String(AdminDialog::kSaveButton));
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(settingsDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        messages = new MessageDialog;
    }

    void init() {
        form = new AdminDialog(*messages);
        form->setBeep([this] { ++beeps; });
        beeps = 0;
        messages->clearShown();
        Settings::write(QStringLiteral("Erori"), QStringLiteral("vechi"));
        Settings::write(QStringLiteral("FIRMA"), kStoredCompany);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }

    void cleanup() { delete form; }
    void cleanupTestCase() { delete messages; }

    void enterOnAFocusedButtonPressesIt() {
        auto *cancel = form->findChild<QPushButton *>(QLatin1String(AdminDialog::kCancelButton));
        cancel->setFocus(Qt::TabFocusReason);
        QTest::keyClick(cancel, Qt::Key_Return);
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Rejected));
        QCOMPARE(stored(), QStringLiteral("vechi"));
    }

    void parts() {
        QCOMPARE(form->windowTitle(), QStringLiteral("Administrator program"));
        QCOMPARE(form->palette().color(QPalette::Window), QColor(64, 80, 106));
        auto *group = form->findChild<QGroupBox *>(QLatin1String(AdminDialog::kPasswordGroup));
        QCOMPARE(group->title(), QStringLiteral(" Schimbare parola  "));
        QCOMPARE(group->toolTip(), QStringLiteral("Schimbarea parolei administrator."));
        for (const char *name : {AdminDialog::kNewPasswordEdit, AdminDialog::kRepeatPasswordEdit}) {
            QCOMPARE(edit(name)->maxLength(), 32);
            QCOMPARE(edit(name)->echoMode(), QLineEdit::Password);
        }
        QCOMPARE(form->findChild<QPushButton *>(QLatin1String(AdminDialog::kChangePasswordButton))
                     ->text(),
                 QStringLiteral("&Schimba parola"));
        QCOMPARE(access()->text(), QStringLiteral("Acces in program"));
        QCOMPARE(access()->toolTip(), QStringLiteral("Va da dreptul de a modifica date."));
        QVERIFY(!access()->isChecked());
        QCOMPARE(form->findChild<QPushButton *>(QLatin1String(AdminDialog::kSaveButton))->text(),
                 QStringLiteral("Salveaza si inchide"));
        QCOMPARE(form->findChild<QPushButton *>(QLatin1String(AdminDialog::kCancelButton))->text(),
                 QStringLiteral("Renunt"));
        auto *status = form->findChild<QStatusBar *>(QLatin1String(AdminDialog::kStatusBar));
        QVERIFY(status->findChild<QLabel *>());
        QCOMPARE(status->findChild<QLabel *>()->text(), QStringLiteral("ESC - Renunta si inchide"));
        QStringList labels;
        for (const QLabel *label : group->findChildren<QLabel *>()) {
            if (label->buddy())
                labels << label->text() + u'>' + label->buddy()->objectName();
        }
        QCOMPARE(labels, (QStringList{QStringLiteral("Parola noua>Edit1"),
                                      QStringLiteral("Inca odata>Edit2")}));
    }

    void theAccessTickIsPlainlyVisible() {
        QStyleOptionButton option;
        option.initFrom(access());
        const QRect box =
            access()->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, access());
        access()->setChecked(false);
        const QImage unticked = access()->grab().toImage();
        access()->setChecked(true);
        const QImage ticked = access()->grab().toImage();
        // The tick covers a good part of its box, and it stands out from the box's ground.
        int changed = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                changed += contrast::ratio(QColor(ticked.pixel(x, y)),
                                           QColor(unticked.pixel(x, y))) >= 3.0;
        QVERIFY2(changed * 10 >= box.width() * box.height(), qPrintable(QString::number(changed)));
        QVERIFY(contrast::strongest(ticked, box.adjusted(2, 2, -2, -2)) >= 7.0);
        // The caption beside it still reads on the window's dark ground.
        QVERIFY(contrast::ratio(access()->palette().color(QPalette::WindowText),
                                QColor(64, 80, 106)) >= 4.5);
    }

    void mismatchIsRefusedWithABeep() {
        edit(AdminDialog::kNewPasswordEdit)->setText(QStringLiteral("abc"));
        edit(AdminDialog::kRepeatPasswordEdit)->setText(QStringLiteral("abd"));
        answerNext(MessageResult::Ok);
        QTest::mouseClick(
            form->findChild<QPushButton *>(QLatin1String(AdminDialog::kChangePasswordButton)),
            Qt::LeftButton);
        QCOMPARE(last().kind, MessageKind::Eroare);
        QCOMPARE(last().title, QStringLiteral("Eroare la completare"));
        QCOMPARE(last().text,
                 QStringLiteral("Nu ati scris parola noua la fel in cele doua casute !"));
        QCOMPARE(last().buttons, MessageButtons(MessageButton::OK));
        QCOMPARE(beeps, 1);
        QCOMPARE(stored(), QStringLiteral("vechi"));
        QCOMPARE(edit(AdminDialog::kNewPasswordEdit)->text(), QStringLiteral("abc"));
        QCOMPARE(edit(AdminDialog::kRepeatPasswordEdit)->text(), QStringLiteral("abd"));
    }

    void bothEmptyAsksBeforeRemoving_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("after");
        QTest::newRow("NU keeps it") << MessageDialog::kNoButton << "vechi";
        QTest::newRow("DA removes it") << MessageDialog::kYesButton << "";
    }

    void bothEmptyAsksBeforeRemoving() {
        QFETCH(QString, answer);
        QFETCH(QString, after);
        answerNext(answer == QLatin1String(MessageDialog::kYesButton) ? MessageResult::Yes
                                                                      : MessageResult::No);
        form->changePassword();
        QCOMPARE(last().kind, MessageKind::Atentie);
        QCOMPARE(last().title, QStringLiteral("Eroare la completare"));
        QCOMPARE(last().text,
                 QStringLiteral("ATENTIE !\r\nDoriti sa dezactivati parola de administrator?"));
        QCOMPARE(last().buttons, MessageButton::DA | MessageButton::NU);
        QCOMPARE(stored(), after);
        QCOMPARE(beeps, 0);
        QVERIFY(!access()->isChecked());
    }

    void changeStoresTheEncodingAndEmptiesTheFields() {
        edit(AdminDialog::kNewPasswordEdit)->setText(QStringLiteral("Parola1"));
        edit(AdminDialog::kRepeatPasswordEdit)->setText(QStringLiteral("Parola1"));
        answerNext(MessageResult::Ok);
        form->changePassword();
        QCOMPARE(last().kind, MessageKind::Informatie);
        QCOMPARE(last().title, QStringLiteral("Confirmare"));
        QCOMPARE(last().text, QStringLiteral("Parola a fost schimbata cu succes!"));
        QCOMPARE(stored(), PasswordCodec::encode(u"Parola1"));
        QCOMPARE(stored(), AdminDialog::CodeazaStr(u"Parola1"));
        QVERIFY(PasswordCodec::matches(u"Parola1", stored()));
        QVERIFY(edit(AdminDialog::kNewPasswordEdit)->text().isEmpty());
        QVERIFY(edit(AdminDialog::kRepeatPasswordEdit)->text().isEmpty());
        QVERIFY(!access()->isChecked());
    }

    void passwordOutsideTheCodePageIsRefused() {
        edit(AdminDialog::kNewPasswordEdit)->setText(QStringLiteral("parola\u03A9"));
        edit(AdminDialog::kRepeatPasswordEdit)->setText(QStringLiteral("parola\u03A9"));
        answerNext(MessageResult::Ok);
        form->changePassword();
        QCOMPARE(last().kind, MessageKind::Eroare);
        QVERIFY(last().text.contains(QChar(0x03A9)));
        QCOMPARE(beeps, 1);
        QCOMPARE(stored(), QStringLiteral("vechi"));
        QCOMPARE(edit(AdminDialog::kRepeatPasswordEdit)->text(), QStringLiteral("parola\u03A9"));
    }

    void keyboardOnly() {
        edit(AdminDialog::kNewPasswordEdit)->setFocus();
        QTest::keyClicks(edit(AdminDialog::kNewPasswordEdit), QStringLiteral("Cheia9"));
        QTest::keyClick(edit(AdminDialog::kNewPasswordEdit), Qt::Key_Return);
        QCOMPARE(form->focusWidget(), edit(AdminDialog::kRepeatPasswordEdit));
        QTest::keyClicks(edit(AdminDialog::kRepeatPasswordEdit), QStringLiteral("Cheia9"));
        answerNext(MessageResult::Ok);
        QTest::keyClick(edit(AdminDialog::kRepeatPasswordEdit), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(last().text, QStringLiteral("Parola a fost schimbata cu succes!"));
        QVERIFY(PasswordCodec::matches(u"Cheia9", stored()));
        QVERIFY(form->isVisible());
    }

    void accelerator() {
        edit(AdminDialog::kNewPasswordEdit)->setText(QStringLiteral("x"));
        edit(AdminDialog::kRepeatPasswordEdit)->setText(QStringLiteral("y"));
        QApplication::setActiveWindow(form);
        QVERIFY(QTest::qWaitForWindowActive(form));
        edit(AdminDialog::kNewPasswordEdit)->setFocus();
        answerNext(MessageResult::Ok);
        QTest::keyClick(edit(AdminDialog::kNewPasswordEdit), Qt::Key_S, Qt::AltModifier);
        // The accelerator presses the button visibly, so the click comes a moment later.
        QTRY_COMPARE(asked(), 1);
        QCOMPARE(last().title, QStringLiteral("Eroare la completare"));
    }

    void escapeCloses() {
        edit(AdminDialog::kNewPasswordEdit)->setFocus();
        QTest::keyClick(edit(AdminDialog::kNewPasswordEdit), Qt::Key_Escape);
        QVERIFY(!form->isVisible());
    }

    void buttonsClose_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("Renunt") << AdminDialog::kCancelButton;
        QTest::newRow("Salveaza si inchide") << AdminDialog::kSaveButton;
    }

    void buttonsClose() {
        QFETCH(QString, button);
        edit(AdminDialog::kNewPasswordEdit)->setText(QStringLiteral("x"));
        QTest::mouseClick(form->findChild<QPushButton *>(button), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        // Nothing is written by closing, and the fields keep their text for the next showing.
        QCOMPARE(stored(), QStringLiteral("vechi"));
        QCOMPARE(edit(AdminDialog::kNewPasswordEdit)->text(), QStringLiteral("x"));
    }

    // The company's name, as the printouts show it, is set here: the field shows what is
    // stored, and "Salveaza si inchide" or Enter in the field stores what was typed.
    void companyField() {
        QLineEdit *company = edit(AdminDialog::kCompanyEdit);
        QVERIFY(company);
        QCOMPARE(company->text(), kStoredCompany);
        QStringList labels;
        for (const QLabel *label : form->findChildren<QLabel *>()) {
            if (label->buddy() == company)
                labels << label->text();
        }
        QCOMPARE(labels, QStringList{QStringLiteral("Numele firmei")});
        QVERIFY(!company->toolTip().isEmpty());
    }

    void companyTypedIsStoredAndPrinted_data() {
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("Salveaza si inchide") << false;
        QTest::newRow("Enter in the field") << true;
    }

    void companyTypedIsStoredAndPrinted() {
        QFETCH(bool, byEnter);
        QLineEdit *company = edit(AdminDialog::kCompanyEdit);
        QVERIFY(company);
        QApplication::setActiveWindow(form);
        QTest::mouseClick(company, Qt::LeftButton);
        QTest::keyClick(company, Qt::Key_A, Qt::ControlModifier);
        const QString typed = QStringLiteral("Transporturi \u0218tefan & \u021Au\u021Bu {Est} SRL");
        typeInto(company, typed);
        QCOMPARE(company->text(), typed);
        if (byEnter)
            QTest::keyClick(company, Qt::Key_Return);
        else
            QTest::mouseClick(saveAndClose(), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QCOMPARE(form->result(), int(QDialog::Accepted));
        QCOMPARE(storedCompany(), typed);
        QCOMPARE(stored(), QStringLiteral("vechi"));

        // The next printout names it, its comma-below letters written with a cedilla, as the
        // code page has them.
        TripFixture trips;
        trips.addSheet(velmora::statements::Sheet());
        QVERIFY(QFile::copy(QStringLiteral(VELMORA_TEMPLATE),
                            trips.programDir() + QStringLiteral("/Foaie.rtf")));
        const QString out = trips.programDir() + QStringLiteral("/out.rtf");
        SheetPrintout(trips.programDir()).write(QStringLiteral("17"), out);
        const QString text = rtftext::read(bytesOf(out)).text;
        QVERIFY2(text.contains(QStringLiteral(
                     "Unitatea: Transporturi \u015Etefan & \u0162u\u0163u {Est} SRL\n")),
                 qPrintable(text.left(200)));
    }

    void companyKeptWhenClosedWithoutSaving_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Renunt") << "Renunt";
        QTest::newRow("Esc") << "Esc";
    }

    void companyKeptWhenClosedWithoutSaving() {
        QFETCH(QString, how);
        QLineEdit *company = edit(AdminDialog::kCompanyEdit);
        QVERIFY(company);
        company->setFocus();
        company->selectAll();
        QTest::keyClicks(company, QStringLiteral("Alta Firma"));
        if (how == u"Esc")
            QTest::keyClick(company, Qt::Key_Escape);
        else
            QTest::mouseClick(
                form->findChild<QPushButton *>(QLatin1String(AdminDialog::kCancelButton)),
                Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QCOMPARE(storedCompany(), kStoredCompany);
        // Shown again, the field shows what is stored, not what was left typed.
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        QCOMPARE(company->text(), kStoredCompany);
    }

    void companyOutsideTheCodePageIsRefused() {
        QLineEdit *company = edit(AdminDialog::kCompanyEdit);
        QVERIFY(company);
        company->setText(QStringLiteral("Firma \u03A9"));
        answerNext(MessageResult::Ok);
        QTest::mouseClick(saveAndClose(), Qt::LeftButton);
        QCOMPARE(asked(), 1);
        QCOMPARE(last().kind, MessageKind::Eroare);
        QCOMPARE(last().title, QStringLiteral("Eroare la completare"));
        QVERIFY2(last().text.contains(QChar(0x03A9)), qPrintable(last().text));
        QCOMPARE(beeps, 1);
        QVERIFY(form->isVisible());
        QCOMPARE(storedCompany(), kStoredCompany);
        QCOMPARE(company->text(), QStringLiteral("Firma \u03A9"));
    }

    void accessCheckBox() {
        QSignalSpy changes(form, &AdminDialog::accessChanged);
        const QPoint box(8, access()->height() / 2);
        QTest::mouseClick(access(), Qt::LeftButton, {}, box);
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes.at(0).at(0).toBool(), true);
        QVERIFY(form->accessGranted());
        QTest::mouseClick(access(), Qt::LeftButton, {}, box);
        QCOMPARE(changes.size(), 2);
        QCOMPARE(changes.at(1).at(0).toBool(), false);
        QVERIFY(!form->accessGranted());
    }

    void gateGrantsAccess() {
        QSignalSpy changes(form, &AdminDialog::accessChanged);
        form->grantAccess();
        QVERIFY(access()->isChecked());
        QCOMPARE(changes.size(), 1);
        QCOMPARE(changes.at(0).at(0).toBool(), true);
        // Once more while ticked: the handling runs again, access stays open.
        form->grantAccess();
        QCOMPARE(changes.size(), 2);
        QCOMPARE(changes.at(1).at(0).toBool(), true);
    }
};

QTEST_MAIN(TestAdminDialog)
#include "tst_admindialog.moc"

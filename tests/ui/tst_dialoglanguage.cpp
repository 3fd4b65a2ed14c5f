// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/askedtexts.h"
#include "ui/dialoglanguage.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTranslator>
#include <memory>

using namespace velmora;

// Qt's own texts in the program's Romanian: which locales get the translation, and what the
// standard buttons, the message box and the edit fields' menu then say.
class TestDialogLanguage : public QObject {
    Q_OBJECT

    std::unique_ptr<QTranslator> m_romanian;

private Q_SLOTS:
    void initTestCase() {
        m_romanian = DialogLanguage::forLocale(QLocale(QLocale::Romanian, QLocale::Romania));
        QVERIFY(m_romanian);
        QVERIFY(QCoreApplication::installTranslator(m_romanian.get()));
    }

    void onlyARomanianLocaleGetsIt_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("romanian");
        QTest::newRow("ro_RO") << QLocale(QLocale::Romanian, QLocale::Romania) << true;
        QTest::newRow("ro_MD") << QLocale(QLocale::Romanian, QLocale::Moldova) << true;
        QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << false;
        QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany) << false;
        QTest::newRow("C") << QLocale::c() << false;
    }

    void onlyARomanianLocaleGetsIt() {
        QFETCH(QLocale, locale);
        QFETCH(bool, romanian);
        const std::unique_ptr<QTranslator> translation = DialogLanguage::forLocale(locale);
        QCOMPARE(bool(translation), romanian);
        if (translation)
            QCOMPARE(translation->translate("QPlatformTheme", "Cancel"), QStringLiteral("Renunt"));
    }

    void standardButtons_data() {
        QTest::addColumn<QDialogButtonBox::StandardButton>("which");
        QTest::addColumn<QString>("text");
        QTest::newRow("Ok") << QDialogButtonBox::Ok << QStringLiteral("OK");
        QTest::newRow("Cancel") << QDialogButtonBox::Cancel << QStringLiteral("Renunt");
        QTest::newRow("Save") << QDialogButtonBox::Save << QStringLiteral("Salveaza");
        QTest::newRow("Open") << QDialogButtonBox::Open << QStringLiteral("Deschide");
        QTest::newRow("Close") << QDialogButtonBox::Close << QStringLiteral("Inchide");
        QTest::newRow("Yes") << QDialogButtonBox::Yes << QStringLiteral("&Da");
        QTest::newRow("No") << QDialogButtonBox::No << QStringLiteral("&Nu");
        QTest::newRow("Apply") << QDialogButtonBox::Apply << QStringLiteral("Aplica");
        QTest::newRow("Help") << QDialogButtonBox::Help << QStringLiteral("Ajutor");
    }

    void standardButtons() {
        QFETCH(QDialogButtonBox::StandardButton, which);
        QFETCH(QString, text);
        const QDialogButtonBox box(which);
        QCOMPARE(box.button(which)->text(), text);
    }

    // The error box is a QMessageBox; its buttons and its details button speak Romanian too.
    void messageBox() {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Velmora v.1.01"),
                        QStringLiteral("Eroare"), QMessageBox::Ok | QMessageBox::Cancel);
        box.setDetailedText(QStringLiteral("..."));
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Renunt"));
        QStringList texts;
        for (const QAbstractButton *button : box.buttons())
            texts.append(button->text());
        QVERIFY2(texts.contains(QStringLiteral("Arata detaliile...")),
                 qPrintable(texts.join(u'|')));
    }

    // Every edit field's menu (right click): each entry in Romanian, none left in English.
    void editMenu() {
        const AskedTexts asked;
        QLineEdit edit;
        const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList texts;
        for (const QAction *action : menu->actions()) {
            if (!action->isSeparator())
                texts.append(action->text().section(u'\t', 0, 0));
        }
        QCOMPARE(texts, (QStringList{QStringLiteral("&Anuleaza"), QStringLiteral("&Refa"),
                                     QStringLiteral("&Taie"), QStringLiteral("&Copiaza"),
                                     QStringLiteral("&Lipeste"), QStringLiteral("Sterge"),
                                     QStringLiteral("Selecteaza tot")}));
        QVERIFY(asked.count() > 0);
        QCOMPARE(asked.untranslatedBy(*m_romanian), QStringList());
    }
};

QTEST_MAIN(TestDialogLanguage)
#include "tst_dialoglanguage.moc"

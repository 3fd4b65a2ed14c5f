// SPDX-License-Identifier: GPL-3.0-or-later
#include "admin/passwordprompt.h"
#include "ui/gradientpanel.h"
#include "ui/modalanswer.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

using namespace velmora;

class TestPasswordPrompt : public QObject {
    Q_OBJECT

    PasswordPrompt *prompt = nullptr;

    QLineEdit *field() const {
        return prompt->findChild<QLineEdit *>(QLatin1String(PasswordPrompt::kPasswordEdit));
    }
    QPushButton *button(const char *name) const {
        return prompt->findChild<QPushButton *>(QLatin1String(name));
    }

    // Runs the prompt, answering it with the action; returns its result and leaves the
    // caller's text in value.
    bool ask(QString &value, std::function<void()> answer) {
        const ModalAnswer shown = answerWhenShown(prompt, std::move(answer));
        const std::optional<QString> entered =
            prompt->ask(QStringLiteral("IDENTIFICARE ADMIN"), QStringLiteral("PAROLA :"));
        shown.failUnlessRan();
        if (entered)
            value = *entered;
        return entered.has_value();
    }

private Q_SLOTS:
    void initTestCase() { prompt = new PasswordPrompt; }

    void cleanupTestCase() { delete prompt; }

    void parts() {
        QCOMPARE(prompt->size(), QSize(259, 137));
        auto *background = prompt->findChild<GradientPanel *>();
        QCOMPARE(background->geometry(), QRect(0, 0, 259, 137));
        QCOMPARE(background->direction(), Gradient::Direction::TopToBottom);
        QCOMPARE(background->firstColor(), QColor(172, 184, 204));
        QCOMPARE(background->lastColor(), QColor(82, 102, 135));
        QCOMPARE(field()->echoMode(), QLineEdit::Password);
        QCOMPARE(button(PasswordPrompt::kOkButton)->text(), QStringLiteral("Verifica"));
        QCOMPARE(button(PasswordPrompt::kOkButton)->toolTip(), QStringLiteral("Verifica Parola."));
        QVERIFY(button(PasswordPrompt::kOkButton)->isDefault());
        QCOMPARE(button(PasswordPrompt::kCancelButton)->text(), QStringLiteral("Renunt"));
        QCOMPARE(button(PasswordPrompt::kCancelButton)->toolTip(),
                 QStringLiteral("Renunt la autentificare."));
        auto *status = prompt->findChild<QStatusBar *>();
        QCOMPARE(status->findChild<QLabel *>()->text(), QStringLiteral("ESC - Renunt"));
    }

    void verifyReturnsTheText() {
        QString value = QStringLiteral("neatins");
        QString caption, label;
        const bool ok = ask(value, [&] {
            caption = prompt->windowTitle();
            label =
                prompt->findChild<QLabel *>(QLatin1String(PasswordPrompt::kPromptLabel))->text();
            QTest::keyClicks(field(), QStringLiteral("Secret 1"));
            QTest::mouseClick(button(PasswordPrompt::kOkButton), Qt::LeftButton);
        });
        QVERIFY(ok);
        QCOMPARE(value, QStringLiteral("Secret 1"));
        QCOMPARE(caption, QStringLiteral("IDENTIFICARE ADMIN"));
        QCOMPARE(label, QStringLiteral("PAROLA :"));
    }

    void enterConfirms() {
        QString value;
        QString atStart = QStringLiteral("?");
        const bool ok = ask(value, [&] {
            atStart = field()->text();
            QTest::keyClicks(field(), QStringLiteral("abc"));
            QTest::keyClick(field(), Qt::Key_Return);
        });
        QVERIFY(ok);
        // The field was emptied for this call, whatever the last one left.
        QCOMPARE(atStart, QString());
        QCOMPARE(value, QStringLiteral("abc"));
    }

    void emptyEntryConfirmed() {
        QString value = QStringLiteral("neatins");
        QVERIFY(ask(value,
                    [&] { QTest::mouseClick(button(PasswordPrompt::kOkButton), Qt::LeftButton); }));
        QCOMPARE(value, QString());
    }

    void enterTakesTheFocusedButton_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("in the field, the default button") << PasswordPrompt::kPasswordEdit << true;
        QTest::newRow("on Verifica") << PasswordPrompt::kOkButton << true;
        QTest::newRow("on Renunt") << PasswordPrompt::kCancelButton << false;
    }

    void enterTakesTheFocusedButton() {
        QFETCH(QString, focus);
        QFETCH(bool, confirmed);
        QString value = QStringLiteral("neatins");
        const bool ok = ask(value, [&] {
            QTest::keyClicks(field(), QStringLiteral("abc"));
            auto *target = prompt->findChild<QWidget *>(focus);
            target->setFocus(Qt::TabFocusReason);
            QTest::keyClick(target, Qt::Key_Return);
        });
        QCOMPARE(ok, confirmed);
        QCOMPARE(value, confirmed ? QStringLiteral("abc") : QStringLiteral("neatins"));
    }

    void otherWaysOutCancel_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Renunt") << "Renunt";
        QTest::newRow("Esc") << "Esc";
        QTest::newRow("close box") << "close";
    }

    void otherWaysOutCancel() {
        QFETCH(QString, how);
        QString value = QStringLiteral("neatins");
        const bool ok = ask(value, [&] {
            QTest::keyClicks(field(), QStringLiteral("xyz"));
            if (how == u"Renunt")
                QTest::mouseClick(button(PasswordPrompt::kCancelButton), Qt::LeftButton);
            else if (how == u"Esc")
                QTest::keyClick(field(), Qt::Key_Escape);
            else
                prompt->close();
        });
        QVERIFY(!ok);
        QCOMPARE(value, QStringLiteral("neatins"));
    }
};

QTEST_MAIN(TestPasswordPrompt)
#include "tst_passwordprompt.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "queuedevents.h"
#include "ui/artwork.h"
#include "ui/flatbutton.h"
#include "ui/gradientpanel.h"
#include "ui/messagedialog.h"
#include "ui/modalanswer.h"

#include <QApplication>
#include <QLabel>
#include <QScopeGuard>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

using namespace velmora;

namespace {

QStringList names(std::initializer_list<const char *> buttons) {
    QStringList list;
    for (const char *button : buttons)
        list.append(QLatin1String(button));
    return list;
}

} // namespace

class TestMessageDialog : public QObject {
    Q_OBJECT

    MessageDialog *dialog = nullptr;

    FlatButton *button(const char *name) const {
        return dialog->findChild<FlatButton *>(QLatin1String(name));
    }
    GradientPanel *panel(const char *name) const {
        return dialog->findChild<GradientPanel *>(QLatin1String(name));
    }

    // Shows a message, answers it with the action and returns the result.
    quint16 ask(int buttons, std::function<void()> answer,
                MessageKind kind = MessageKind::Confirmare) {
        // A check that fails inside the answer returns early: the dialog is closed all the
        // same, so that the test goes on to report it instead of waiting.
        const ModalAnswer shown = answerWhenShown(dialog, [this, answer = std::move(answer)] {
            const auto closeLeftOpen = qScopeGuard([this] {
                if (dialog->isVisible())
                    dialog->close();
            });
            answer();
        });
        const auto result = quint16(dialog->Mesaj(QStringLiteral("Titlu"), QStringLiteral("Text"),
                                                  kind, MessageButtons::fromInt(buttons)));
        shown.failUnlessRan();
        return result;
    }

private Q_SLOTS:
    void initTestCase() { dialog = new MessageDialog; }
    void cleanupTestCase() { delete dialog; }

    void parts() {
        QCOMPARE(dialog->objectName(), QStringLiteral("Erori"));
        QCOMPARE(dialog->size(), QSize(345, 177));
        QCOMPARE(panel(MessageDialog::kTopBand)->geometry(), QRect(0, 0, 345, 49));
        QCOMPARE(panel(MessageDialog::kBottomBand)->geometry(), QRect(0, 135, 345, 42));
        QCOMPARE(panel(MessageDialog::kMiddleBand)->geometry(), QRect(0, 49, 345, 86));
        QCOMPARE(panel(MessageDialog::kTopBand)->stripes(), 64);
        QCOMPARE(panel(MessageDialog::kTopBand)->direction(), Gradient::Direction::LeftToRight);
        // The middle area runs from #E1E1E1 on the left to white on the right.
        QCOMPARE(panel(MessageDialog::kMiddleBand)->firstColor(), QColor(0xE1, 0xE1, 0xE1));
        QCOMPARE(panel(MessageDialog::kMiddleBand)->lastColor(), QColor(Qt::white));
        QCOMPARE(dialog->findChild<QLabel *>(QLatin1String(MessageDialog::kPicture))->geometry(),
                 QRect(8, 8, 32, 32));
        QCOMPARE(dialog->findChild<QLabel *>(QLatin1String(MessageDialog::kTitleLabel))->pos(),
                 QPoint(48, 16));
        auto *text = dialog->findChild<QTextEdit *>(QLatin1String(MessageDialog::kText));
        QCOMPARE(text->geometry(), QRect(16, 56, 313, 65));
        QCOMPARE(text->palette().color(QPalette::Base), QColor(0xEF, 0xEF, 0xEF));
        const std::tuple<const char *, const char *, const char *> captions[] = {
            {MessageDialog::kYesButton, "DA", "Da"},
            {MessageDialog::kNoButton, "NU", "Nu"},
            {MessageDialog::kCancelButton, "RENUNT", "Renunt"},
            {MessageDialog::kOkButton, "OK", "OK"}};
        for (const auto &[name, caption, word] : captions) {
            FlatButton *b = button(name);
            QVERIFY2(b, name);
            QCOMPARE(b->text(), QLatin1String(caption));
            QCOMPARE(b->accessibleName(), QLatin1String(word));
            QCOMPARE(b->size(), QSize(73, 25));
            // Reached with Tab and the arrow keys; a click leaves no focus behind.
            QCOMPARE(b->focusPolicy(), Qt::TabFocus);
            QCOMPARE(b->cursor().shape(), Qt::PointingHandCursor);
            QVERIFY(b->font().bold());
        }
    }

    void results_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("result");

        QTest::newRow("DA") << 3 << MessageDialog::kYesButton << 6;
        QTest::newRow("NU") << 3 << MessageDialog::kNoButton << 7;
        QTest::newRow("RENUNT") << 15 << MessageDialog::kCancelButton << 2;
        QTest::newRow("OK") << 4 << MessageDialog::kOkButton << 1;
        QTest::newRow("ESC on DA/NU") << 3 << "Esc" << 2;
        QTest::newRow("close box") << 3 << "close" << 2;
        QTest::newRow("higher bits ignored") << (4 | 16 | 0x8000) << MessageDialog::kOkButton << 1;
    }

    void results() {
        QFETCH(int, buttons);
        QFETCH(QString, answer);
        QFETCH(int, result);
        const quint16 got = ask(static_cast<quint16>(buttons), [&] {
            if (answer == u"Esc")
                QTest::keyClick(dialog, Qt::Key_Escape);
            else if (answer == u"close")
                dialog->close();
            else
                QTest::mouseClick(dialog->findChild<FlatButton *>(answer), Qt::LeftButton);
        });
        QCOMPARE(got, quint16(result));
        QVERIFY(!dialog->isVisible());
    }

    // Keys go where a clerk's keyboard sends them: to the control with the focus.
    void enterAndSpaceAtOpeningDoNothing() {
        bool stillShown = false;
        QWidget *focusAtOpening = nullptr;
        const quint16 got = ask(MessageButton::DA | MessageButton::NU, [&] {
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            focusAtOpening = QApplication::focusWidget();
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
                QTest::keyClick(QApplication::focusWidget(), key);
            stillShown = dialog->isVisible();
            QTest::mouseClick(button(MessageDialog::kYesButton), Qt::LeftButton);
        });
        // No button is chosen when the dialog opens: the focus rests on the dialog itself.
        QCOMPARE(focusAtOpening, static_cast<QWidget *>(dialog));
        QVERIFY(stillShown);
        QCOMPARE(got, quint16(6));
    }

    void keyboard_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("focused"); // the button with the focus before the last key
        QTest::addColumn<int>("result");

        QTest::newRow("Tab to DA, Space") << 3 << "Tab Space" << MessageDialog::kYesButton << 6;
        QTest::newRow("Tab twice to NU") << 3 << "Tab Tab Space" << MessageDialog::kNoButton << 7;
        QTest::newRow("Tab goes round")
            << 3 << "Tab Tab Tab Space" << MessageDialog::kYesButton << 6;
        QTest::newRow("Shift+Tab to the last")
            << 3 << "Backtab Space" << MessageDialog::kNoButton << 7;
        QTest::newRow("Right to the first") << 3 << "Right Space" << MessageDialog::kYesButton << 6;
        QTest::newRow("Left to the last") << 3 << "Left Space" << MessageDialog::kNoButton << 7;
        QTest::newRow("Right then Left")
            << 3 << "Right Right Left Space" << MessageDialog::kYesButton << 6;
        QTest::newRow("Down and Up")
            << 3 << "Down Down Up Up Space" << MessageDialog::kNoButton << 7;
        QTest::newRow("arrows go round")
            << 3 << "Right Right Right Space" << MessageDialog::kYesButton << 6;
        // Enter on the focused DA confirms nothing; the clerk still chooses with Space.
        QTest::newRow("Enter on DA")
            << 3 << "Tab Return Enter Tab Space" << MessageDialog::kNoButton << 7;
        QTest::newRow("Esc with DA focused") << 3 << "Tab Escape" << MessageDialog::kYesButton << 2;
        QTest::newRow("four buttons in their order")
            << 15 << "Tab Tab Tab Space" << MessageDialog::kCancelButton << 2;
        QTest::newRow("four buttons, OK last")
            << 15 << "Backtab Space" << MessageDialog::kOkButton << 1;
        QTest::newRow("hidden buttons are passed over")
            << 12 << "Tab Tab Space" << MessageDialog::kOkButton << 1;
        QTest::newRow("one button") << 4 << "Right Right Space" << MessageDialog::kOkButton << 1;
    }

    void keyboard() {
        QFETCH(int, buttons);
        QFETCH(QString, keys);
        QFETCH(QString, focused);
        QFETCH(int, result);
        const QMap<QString, Qt::Key> named{{QStringLiteral("Tab"), Qt::Key_Tab},
                                           {QStringLiteral("Backtab"), Qt::Key_Backtab},
                                           {QStringLiteral("Right"), Qt::Key_Right},
                                           {QStringLiteral("Left"), Qt::Key_Left},
                                           {QStringLiteral("Down"), Qt::Key_Down},
                                           {QStringLiteral("Up"), Qt::Key_Up},
                                           {QStringLiteral("Return"), Qt::Key_Return},
                                           {QStringLiteral("Enter"), Qt::Key_Enter},
                                           {QStringLiteral("Space"), Qt::Key_Space},
                                           {QStringLiteral("Escape"), Qt::Key_Escape}};
        const QStringList sequence = keys.split(u' ');
        QString focusBeforeLast;
        bool answered = false;
        const quint16 got = ask(buttons, [&] {
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            for (qsizetype i = 0; i < sequence.size(); ++i) {
                QVERIFY2(dialog->isVisible(), qPrintable(sequence.mid(0, i).join(u' ')));
                QWidget *focus = QApplication::focusWidget();
                QVERIFY(focus);
                if (i == sequence.size() - 1)
                    focusBeforeLast = focus->objectName();
                const Qt::Key key = named.value(sequence[i]);
                QTest::keyClick(focus, key,
                                key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
            }
            answered = !dialog->isVisible();
        });
        QVERIFY(answered);
        QCOMPARE(focusBeforeLast, focused);
        QCOMPARE(got, quint16(result));
    }

    // A call after one answered from the keyboard opens with no button chosen again.
    void focusDoesNotCarryOver() {
        QCOMPARE(ask(MessageButton::DA | MessageButton::NU,
                     [&] {
                         QVERIFY(QTest::qWaitForWindowActive(dialog));
                         QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                         QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
                     }),
                 quint16(6));
        QWidget *focusAtOpening = nullptr;
        QCOMPARE(ask(MessageButton::DA | MessageButton::NU,
                     [&] {
                         QVERIFY(QTest::qWaitForWindowActive(dialog));
                         focusAtOpening = QApplication::focusWidget();
                         QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
                         QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                     }),
                 quint16(2));
        QCOMPARE(focusAtOpening, static_cast<QWidget *>(dialog));
    }

    // Where the keyboard stands shows on the button: a dotted frame in the caption's colour.
    void focusedButtonShowsAFrame() {
        QImage without;
        QImage with;
        ask(MessageButton::DA | MessageButton::NU, [&] {
            QVERIFY(QTest::qWaitForWindowActive(dialog));
            without = button(MessageDialog::kYesButton)->grab().toImage();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(),
                     static_cast<QWidget *>(button(MessageDialog::kYesButton)));
            with = button(MessageDialog::kYesButton)->grab().toImage();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        });
        QVERIFY(!without.isNull());
        QVERIFY(without != with);
        // The frame runs along a row three pixels inside the edge, in the caption's white on
        // the confirmation's blue.
        const auto whiteOnRow = [](const QImage &image) {
            int count = 0;
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, 3) == QColor(Qt::white) ? 1 : 0;
            return count;
        };
        QCOMPARE(whiteOnRow(without), 0);
        QVERIFY(whiteOnRow(with) > 20);
    }

    void layout_data() {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QList<int>>("lefts");

        QTest::newRow("OK") << 4 << names({MessageDialog::kOkButton}) << QList<int>{134};
        QTest::newRow("DA NU") << 3 << names({MessageDialog::kYesButton, MessageDialog::kNoButton})
                               << QList<int>{65, 203};
        QTest::newRow("RENUNT OK keep their order")
            << 12 << names({MessageDialog::kCancelButton, MessageDialog::kOkButton})
            << QList<int>{65, 203};
        QTest::newRow("DA NU RENUNT") << 11
                                      << names({MessageDialog::kYesButton, MessageDialog::kNoButton,
                                                MessageDialog::kCancelButton})
                                      << QList<int>{30, 133, 236};
        QTest::newRow("all four") << 15
                                  << names({MessageDialog::kYesButton, MessageDialog::kNoButton,
                                            MessageDialog::kCancelButton, MessageDialog::kOkButton})
                                  << QList<int>{10, 93, 176, 259};
    }

    void layout() {
        QFETCH(int, buttons);
        QFETCH(QStringList, shown);
        QFETCH(QList<int>, lefts);
        QStringList visible;
        QList<int> places;
        ask(static_cast<quint16>(buttons), [&] {
            for (const char *name : {MessageDialog::kYesButton, MessageDialog::kNoButton,
                                     MessageDialog::kCancelButton, MessageDialog::kOkButton}) {
                FlatButton *b = button(name);
                if (b->isVisible()) {
                    visible << QLatin1String(name);
                    places << b->x();
                    QCOMPARE(b->y(), 144);
                }
            }
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QCOMPARE(visible, shown);
        QCOMPARE(places, lefts);
    }

    void kinds_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QColor>("bandFrom");
        QTest::addColumn<QColor>("bandTo");
        QTest::addColumn<QColor>("face");
        QTest::addColumn<QColor>("pressed");
        QTest::addColumn<QColor>("hot");
        QTest::addColumn<QColor>("light");
        QTest::addColumn<QColor>("shadow");
        QTest::addColumn<QImage>("picture");

        const QImage warning = Artwork::warning().toImage();
        const QImage information = Artwork::information().toImage();
        const QImage question = Artwork::question().toImage();
        const QImage error = Artwork::error().toImage();
        const auto c = [](const char *hex) {
            return QColor(QLatin1String(hex));
        };

        QTest::newRow("0 warning")
            << 0 << "Atentie !" << c("#B7B18A") << c("#383623") << c("#2C291B") << c("#070705")
            << c("#737753") << c("#DEDFD2") << c("#000000") << warning;
        QTest::newRow("1 error") << 1 << "Eroare" << c("#FFD5D5") << c("#FF0000") << c("#FF0000")
                                 << c("#A60000") << c("#FF9B9B") << c("#FFD9D9") << c("#FFFFFF")
                                 << error;
        QTest::newRow("2 information")
            << 2 << "Informatie" << c("#E1DEFA") << c("#0000BB") << c("#0000FF") << c("#000093")
            << c("#9D9DFF") << c("#DFDFFF") << c("#FFFFFF") << information;
        QTest::newRow("3 confirmation")
            << 3 << "Confirmare" << c("#81A2D3") << c("#365F9C") << c("#3966A8") << c("#000093")
            << c("#7196CE") << c("#ECF1F9") << c("#000000") << question;
        QTest::newRow("4 custom as error")
            << 4 << "Eroare" << c("#FFD5D5") << c("#FF0000") << c("#FF0000") << c("#A60000")
            << c("#FF9B9B") << c("#FFD9D9") << c("#FFFFFF") << error;
        QTest::newRow("255 as error")
            << 255 << "Eroare" << c("#FFD5D5") << c("#FF0000") << c("#FF0000") << c("#A60000")
            << c("#FF9B9B") << c("#FFD9D9") << c("#FFFFFF") << error;
    }

    void kinds() {
        QFETCH(int, kind);
        QFETCH(QString, caption);
        QFETCH(QColor, bandFrom);
        QFETCH(QColor, bandTo);
        QFETCH(QColor, face);
        QFETCH(QColor, pressed);
        QFETCH(QColor, hot);
        QFETCH(QColor, light);
        QFETCH(QColor, shadow);
        QFETCH(QImage, picture);

        QString shownCaption;
        ask(
            int(MessageButton::OK),
            [&] {
                shownCaption = dialog->windowTitle();
                QTest::mouseClick(button(MessageDialog::kOkButton), Qt::LeftButton);
            },
            messageKindOf(kind));
        QCOMPARE(shownCaption, caption);
        // From colour at the right edge, to colour at the left edge; both bands alike.
        for (const char *name : {MessageDialog::kTopBand, MessageDialog::kBottomBand}) {
            QCOMPARE(panel(name)->firstColor(), bandTo);
            QCOMPARE(panel(name)->lastColor(), bandFrom);
        }
        for (const char *name : {MessageDialog::kYesButton, MessageDialog::kNoButton,
                                 MessageDialog::kCancelButton, MessageDialog::kOkButton}) {
            const FlatButton::Colors &colors = button(name)->colors();
            QCOMPARE(colors.face, face);
            QCOMPARE(colors.pressed, pressed);
            QCOMPARE(colors.hot, hot);
            QCOMPARE(colors.lightEdge, light);
            QCOMPARE(colors.shadowEdge, shadow);
            QCOMPARE(colors.text, QColor(Qt::white));
        }
        const QImage shown =
            dialog->findChild<QLabel *>(QLatin1String(MessageDialog::kPicture))->pixmap().toImage();
        QCOMPARE(shown.size(), QSize(32, 32));
        QCOMPARE(shown, picture);
    }

    void picturesDiffer() {
        const QImage pictures[] = {Artwork::warning().toImage(), Artwork::information().toImage(),
                                   Artwork::question().toImage(), Artwork::error().toImage()};
        for (int i = 0; i < 4; ++i) {
            for (int j = i + 1; j < 4; ++j)
                QVERIFY(pictures[i] != pictures[j]);
        }
        // The error disc is red in the middle, transparent in the corner.
        const QImage error = pictures[3];
        QCOMPARE(qAlpha(error.pixel(0, 0)), 0);
        const QColor middle = error.pixelColor(6, 16);
        QVERIFY(middle.red() > 150 && middle.green() < 110 && middle.blue() < 110);
    }

    void noButtonsReturnsWithoutShowing_data() {
        QTest::addColumn<int>("buttons");
        QTest::newRow("none") << 0;
        QTest::newRow("only other bits") << 0xFFF0;
    }

    void noButtonsReturnsWithoutShowing() {
        QFETCH(int, buttons);
        // Should it show after all, the answer closes it and the test sees that it ran.
        const ModalAnswer shown = answerWhenShown(dialog, [&] { dialog->close(); });
        const quint16 got =
            quint16(dialog->Mesaj(QStringLiteral("T"), QStringLiteral("X"), MessageKind::Atentie,
                                  MessageButtons::fromInt(buttons)));
        QVERIFY(deliverQueuedEvents());
        QCOMPARE(got, quint16(2));
        QVERIFY(!dialog->isVisible());
        QVERIFY(!shown.ran());
    }

    void textIsCentredOnEveryLine() {
        QStringList lines;
        bool centred = true;
        const ModalAnswer answer = answerWhenShown(dialog, [&] {
            auto *text = dialog->findChild<QTextEdit *>(QLatin1String(MessageDialog::kText));
            for (QTextBlock b = text->document()->begin(); b.isValid(); b = b.next()) {
                lines << b.text();
                centred = centred && b.blockFormat().alignment() == Qt::AlignHCenter;
            }
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        dialog->Mesaj(QStringLiteral("Administrare"),
                      QStringLiteral("        ATENTIE!\r\nNu aveti nici o parola!\rA <b>treia</b>"),
                      MessageKind::Atentie, MessageButton::OK);
        VELMORA_VERIFY_MODAL(answer);
        QCOMPARE(lines, (QStringList{QStringLiteral("        ATENTIE!"),
                                     QStringLiteral("Nu aveti nici o parola!"),
                                     QStringLiteral("A <b>treia</b>")}));
        QVERIFY(centred);
    }

    void secondCallShowsOnlyItsOwn() {
        const ModalAnswer answer =
            answerWhenShown(dialog, [&] { QTest::keyClick(dialog, Qt::Key_Escape); });
        dialog->Mesaj(QStringLiteral("Un titlu destul de lung"), QStringLiteral("Primul text"),
                      MessageKind::Atentie, MessageButtons::fromInt(15));
        VELMORA_VERIFY_MODAL(answer);

        QString caption, title, text;
        QStringList visible;
        QImage picture;
        const quint16 got = ask(
            int(MessageButton::OK),
            [&] {
                caption = dialog->windowTitle();
                title =
                    dialog->findChild<QLabel *>(QLatin1String(MessageDialog::kTitleLabel))->text();
                text = dialog->findChild<QTextEdit *>(QLatin1String(MessageDialog::kText))
                           ->toPlainText();
                picture = dialog->findChild<QLabel *>(QLatin1String(MessageDialog::kPicture))
                              ->pixmap()
                              .toImage();
                for (const char *name : {MessageDialog::kYesButton, MessageDialog::kNoButton,
                                         MessageDialog::kCancelButton, MessageDialog::kOkButton}) {
                    if (button(name)->isVisible())
                        visible << QLatin1String(name);
                }
                QCOMPARE(button(MessageDialog::kOkButton)->x(), 134);
                QTest::keyClick(dialog, Qt::Key_Escape);
            },
            MessageKind::Informatie);
        QCOMPARE(got, quint16(2));
        QCOMPARE(caption, QStringLiteral("Informatie"));
        QCOMPARE(title, QStringLiteral("Titlu"));
        QCOMPARE(text, QStringLiteral("Text"));
        QCOMPARE(visible, QStringList{QString::fromLatin1(MessageDialog::kOkButton)});
        QCOMPARE(picture, Artwork::information().toImage());
        QCOMPARE(panel(MessageDialog::kTopBand)->lastColor(), QColor(0xE1, 0xDE, 0xFA));
        QCOMPARE(button(MessageDialog::kYesButton)->colors().face, QColor(0x00, 0x00, 0xFF));
    }

    void resultDoesNotCarryOver() {
        QCOMPARE(ask(MessageButton::DA | MessageButton::NU,
                     [&] { QTest::mouseClick(button(MessageDialog::kYesButton), Qt::LeftButton); }),
                 quint16(6));
        QCOMPARE(ask(MessageButton::DA | MessageButton::NU,
                     [&] { QTest::keyClick(dialog, Qt::Key_Escape); }),
                 quint16(2));
    }

    void resultValuesAreTheStandardOnes() {
        QCOMPARE(int(MessageResult::Ok), 1);
        QCOMPARE(int(MessageResult::Cancel), 2);
        QCOMPARE(int(MessageResult::Yes), 6);
        QCOMPARE(int(MessageResult::No), 7);
        QCOMPARE(messageKindOf(2), MessageKind::Informatie);
        QCOMPARE(messageKindOf(-1), MessageKind::Eroare);
    }

    void queuedAnswersAreRecordedNotShown() {
        dialog->clearShown();
        dialog->queueAnswer(MessageResult::No);
        dialog->queueAnswer(MessageResult::Ok);
        {
            // Ends before the dialog is asked to show below.
            const ModalAnswer shown = answerWhenShown(dialog, [&] { dialog->close(); });
            QCOMPARE(dialog->Mesaj(QStringLiteral("Intrebare"), QStringLiteral("Sigur?"),
                                   MessageKind::Confirmare, MessageButton::DA | MessageButton::NU),
                     MessageResult::No);
            QCOMPARE(dialog->Mesaj(QStringLiteral("Gata"), QStringLiteral("Salvat."),
                                   MessageKind::Informatie, MessageButton::OK),
                     MessageResult::Ok);
            QVERIFY(deliverQueuedEvents());
            QVERIFY(!dialog->isVisible());
            QVERIFY(!shown.ran());
        }
        QCOMPARE(dialog->shown().size(), 2);
        const MessageRecord &first = dialog->shown().first();
        QCOMPARE(first.title, QStringLiteral("Intrebare"));
        QCOMPARE(first.text, QStringLiteral("Sigur?"));
        QCOMPARE(first.kind, MessageKind::Confirmare);
        QCOMPARE(first.buttons, MessageButton::DA | MessageButton::NU);
        QCOMPARE(dialog->shown().last().kind, MessageKind::Informatie);

        // With the queue empty the dialog shows again, and the record stays as it was.
        QCOMPARE(ask(int(MessageButton::OK),
                     [&] { QTest::mouseClick(button(MessageDialog::kOkButton), Qt::LeftButton); }),
                 quint16(1));
        QCOMPARE(dialog->shown().size(), 2);
        dialog->clearShown();
    }
};

QTEST_MAIN(TestMessageDialog)
#include "tst_messagedialog.moc"

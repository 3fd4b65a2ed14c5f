// SPDX-License-Identifier: GPL-3.0-or-later
#include "apptestmain.h"

#include "store/text/error.h"
#include "ui/errorbox.h"

#include <QPushButton>
#include <QTimer>
#include <stdexcept>

using namespace velmora;

// An error raised inside a handler ends that handler only: the error box shows its text and
// the program carries on.
class TestErrorBoundary : public QObject {
    Q_OBJECT

    QStringList m_shown;

private Q_SLOTS:
    void initTestCase() {
        ErrorBox::setHandler([this](const QString &message) { m_shown.append(message); });
    }

    void errorsOfAHandlerReachTheErrorBox() {
        QPushButton button;
        int reached = 0;
        QObject::connect(&button, &QPushButton::clicked, &button, [&reached] {
            ++reached;
            throw EngineError(QStringLiteral("Tabela nu poate fi citita."));
        });
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(reached, 2);
        QCOMPARE(m_shown, QStringList(2, QStringLiteral("Tabela nu poate fi citita.")));
    }

    // The last net says what is not an error of ours in Romanian too, with the technical
    // text kept, and the program carries on.
    void anErrorOfTheLibraryIsSaidInRomanian() {
        m_shown.clear();
        QPushButton button;
        int reached = 0;
        QObject::connect(&button, &QPushButton::clicked, &button, [&reached] {
            ++reached;
            throw std::out_of_range("vector::_M_range_check");
        });
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(reached, 2);
        QCOMPARE(m_shown,
                 QStringList(2, QStringLiteral("Operatia a fost oprita de o eroare neprevazuta "
                                               "(vector::_M_range_check).")));
    }

    void errorsOfATimerToo() {
        m_shown.clear();
        bool later = false;
        QTimer::singleShot(0, this, [] { throw CountersError(QStringLiteral("Contor gresit.")); });
        // Queued after the one that throws, so it runs only once that one has been dealt with.
        QTimer::singleShot(0, this, [&later] { later = true; });
        QTRY_VERIFY(later);
        QCOMPARE(m_shown, QStringList{QStringLiteral("Contor gresit.")});
    }
};

VELMORA_APP_TEST_MAIN(TestErrorBoundary)
#include "tst_errorboundary.moc"

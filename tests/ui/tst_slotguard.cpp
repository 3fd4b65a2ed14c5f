// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/text/error.h"
#include "ui/errorbox.h"
#include "ui/slotguard.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <new>

using namespace velmora;

// Under a plain QApplication, whose notify catches nothing: only the guard stands between a
// throwing slot and Qt's signal dispatch.
class TestSlotGuard : public QObject {
    Q_OBJECT

    QStringList m_shown;

private Q_SLOTS:
    void initTestCase() {
        ErrorBox::setHandler([this](const QString &message) { m_shown.append(message); });
    }
    void init() { m_shown.clear(); }

    void anErrorOfTheSlotReachesTheErrorBox() {
        QPushButton button;
        int reached = 0;
        connect(&button, &QPushButton::clicked, &button, guardSlot([&reached] {
            ++reached;
            throw EngineError(QStringLiteral("Tabela nu poate fi citita."));
        }));
        button.click();
        button.click();
        QCOMPARE(reached, 2);
        QCOMPARE(m_shown, QStringList(2, QStringLiteral("Tabela nu poate fi citita.")));
    }

    // Not the C++ library's English name of the error: the words of the one place that says
    // errors to the user.
    void anErrorOfTheLibraryIsSaidInRomanian() {
        QPushButton button;
        connect(&button, &QPushButton::clicked, &button, guardSlot([] { throw std::bad_alloc(); }));
        button.click();
        QCOMPARE(m_shown, QStringList{userMessage(std::make_exception_ptr(std::bad_alloc()))});
        QCOMPARE(m_shown.first(), Error::outOfMemoryText());
    }

    void theSignalsArgumentsReachTheSlot() {
        QCheckBox box;
        QList<bool> seen;
        connect(&box, &QCheckBox::toggled, &box, guardSlot([&seen](bool on) { seen << on; }));
        box.setChecked(true);
        box.setChecked(false);
        QCOMPARE(seen, (QList<bool>{true, false}));
        QVERIFY(m_shown.isEmpty());
    }

    void aSlotWithoutErrorRunsAsIs() {
        int runs = 0;
        auto guarded = guardSlot([&runs] { ++runs; });
        guarded();
        guarded(1, QStringLiteral("ignored"));
        QCOMPARE(runs, 2);
        QVERIFY(m_shown.isEmpty());
    }
};

QTEST_MAIN(TestSlotGuard)
#include "tst_slotguard.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

class QAbstractItemView;
class QComboBox;

namespace velmora {

// Keys and clicks while the suggestions under an editable combo box are showing. Left to
// itself the completer keeps them: Enter only closes the list, and a click into another field
// only closes it too, so that the next keys still go to the first field. Here Enter takes the
// highlighted suggestion (or the text as typed when none is highlighted) and then does what
// Enter does in the window (the next field, or saving in the last one); Esc closes the list
// and nothing else, and says so; a click outside the list goes where it was aimed.
class CompletionKeys : public QObject {
    Q_OBJECT

public:
    // Watches the list of the combo box's completer; the combo box must have one.
    static CompletionKeys *attach(QComboBox *combo);

Q_SIGNALS:
    // Esc closed the list, and did nothing else.
    void dismissed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    CompletionKeys(QComboBox *combo, QAbstractItemView *list);
    bool keyPressed(QEvent *event);
    bool pressedOutside(QEvent *event);

    QPointer<QComboBox> m_combo;
    QAbstractItemView *m_list;
    // Set while the completer handles a key passed on to it.
    bool m_passing = false;
};

} // namespace velmora

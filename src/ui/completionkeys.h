// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

class QAbstractItemView;
class QComboBox;
class QKeyEvent;
class QMouseEvent;

namespace velmora {

// Keys and clicks while a list under an editable combo box is open: the suggestions that
// typing brings up, or the combo box's own drop-down list. Left to themselves the lists keep
// them: Enter only closes the list, and a click into another field only closes it too, so
// that the next keys still go to the first field. Here Enter takes the highlighted item (or
// the text as typed when none is highlighted) and then does what Enter does in the window
// (the next field, or saving in the last one); Esc closes the list and nothing else, and
// says so; a click outside the list goes where it was aimed.
class CompletionKeys : public QObject {
    Q_OBJECT

public:
    // Watches both lists of the combo box, which must have a completer.
    static CompletionKeys *attach(QComboBox *combo);

Q_SIGNALS:
    // Esc closed a list, and did nothing else.
    void dismissed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit CompletionKeys(QComboBox *combo);
    void watch(QObject *object);
    bool keyInList(QAbstractItemView *list, QKeyEvent *key);
    bool overrideInDropDown(QKeyEvent *key);
    bool keyAfterDropDown(QKeyEvent *key);
    bool pressOutside(QWidget *popup, QMouseEvent *mouse);
    void closeList(QAbstractItemView *list);

    QPointer<QComboBox> m_combo;
    QAbstractItemView *m_suggestions;
    QAbstractItemView *m_dropDown;
    // Set while a list handles a key passed on to it.
    bool m_passing = false;
    // The key whose shortcut override reached the drop-down list before the key itself.
    int m_overridden = 0;
};

} // namespace velmora

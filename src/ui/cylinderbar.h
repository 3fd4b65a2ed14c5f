// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace velmora {

// The progress bar of the progress window: a glass cylinder on a dark ground.
// The filled length changes only when the position is set, following the rules of the
// window that feeds it (see setPosition).
class CylinderBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kBorder = 2;

    explicit CylinderBar(QWidget *parent = nullptr);

    int maximum() const { return m_maximum; }
    // A negative maximum is stored as 0. The filled length stays until the next position.
    void setMaximum(int maximum);

    int position() const { return m_position; }
    // Fills min(position, maximum) / maximum of the inner length, rounded; nothing for a
    // position of 0 or less. With a maximum of 0 the filled length stays as it was.
    void setPosition(int position);

    // The length the bar can fill, inside its border.
    int innerLength() const;
    int filledLength() const { return m_filled; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_maximum = 0;
    int m_position = 0;
    int m_filled = 0;
};

} // namespace velmora

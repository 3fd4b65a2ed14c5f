#pragma once

#include <QDialog>

class QLabel;

namespace velmora {

// The About window.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);

    // The heading and its grey copy; written by the start-up work.
    void setHeading(const QString &title);
    QString heading() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_heading;
    QLabel *m_headingShadow;
};

} // namespace velmora

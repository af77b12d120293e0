#pragma once

#include <QDialog>

// The about box: product, version and copyright. Created once with the
// window and shown modeless; OK hides it until the next showing.
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    static QPixmap picture();
};

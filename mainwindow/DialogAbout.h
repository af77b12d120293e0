#pragma once

#include <QDialog>
#include <memory>

namespace Ui { class DialogAbout; }

// The program's version and copyright over the splash picture.
class DialogAbout : public QDialog
{
    Q_OBJECT
public:
    explicit DialogAbout(QWidget* parent = nullptr);
    ~DialogAbout() override;

    static QString versionString();

private:
    std::unique_ptr<Ui::DialogAbout> ui;
};

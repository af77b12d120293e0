#include "mainwindow/DialogAbout.h"

#include "BuildNumber.h"
#include "ui_DialogAbout.h"

#include <QPalette>
#include <QPixmap>

DialogAbout::DialogAbout(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::DialogAbout>())
{
    QPalette background;
    background.setBrush(backgroundRole(), QBrush(QPixmap(QStringLiteral(":/images/images/splash.jpg"))));
    setPalette(background);

    ui->setupUi(this);
    ui->labelAbout->setText(
        tr("Pelvane version %1\nCopyright (c) 2024 Tavisk. All rights reserved.",
           "First line: the program version; second line: the maker's copyright")
            .arg(versionString()));
}

DialogAbout::~DialogAbout() = default;

QString DialogAbout::versionString()
{
    // The build's own version, the one the package carries: the release,
    // whose last part the about box has always shown with three digits,
    // then the commit count where the build had one.
    const QString release = QStringLiteral("%1.%2.%3")
                                .arg(PELVANE_VERSION_MAJOR)
                                .arg(PELVANE_VERSION_MINOR)
                                .arg(PELVANE_VERSION_PATCH, 3, 10, QLatin1Char('0'));
    const QString build = QStringLiteral(PELVANE_BUILD_NUMBER);
    return build.isEmpty() ? release : release + QLatin1Char('.') + build;
}

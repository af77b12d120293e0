#include "portwell/TForm1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Portwell"));
    TForm1 form(QApplication::arguments());
    form.show();
    return app.exec();
}

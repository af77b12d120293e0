#include "support/DialogAnswerer.h"

#include "database/Database.h"
#include "database/DatabaseTransaction.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

DialogAnswerer::DialogAnswerer(QObject* parent) : QObject(parent)
{
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &DialogAnswerer::poll);
    m_timer.start();
}

DialogAnswerer::~DialogAnswerer() = default;

void DialogAnswerer::answerNext(Handler handler)
{
    m_handlers.append(std::move(handler));
}

void DialogAnswerer::pressNext(const QString& buttonText)
{
    answerNext([buttonText](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            for (QAbstractButton* b : box->buttons()) {
                if (b->text().remove(QLatin1Char('&')) == buttonText) {
                    b->click();
                    return;
                }
            }
        }
        if (auto* d = qobject_cast<QDialog*>(w))
            d->reject();
    });
}

DialogAnswerer::Seen DialogAnswerer::describe(QWidget* w)
{
    Seen s;
    s.className = QString::fromLatin1(w->metaObject()->className());
    s.objectName = w->objectName();
    s.title = w->windowTitle();
    s.duringWrite = Database::instance() && DatabaseTransaction::isOpen(Database::instance()->connection());
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
        s.text = box->text();
        s.informative = box->informativeText();
        s.icon = int(box->icon());
    } else {
        if (auto* details = w->findChild<QPlainTextEdit*>(QStringLiteral("errorMessage")))
            s.text = details->toPlainText();
        if (auto* info = w->findChild<QLabel*>(QStringLiteral("errorInfo")))
            s.informative = info->text();
    }
    return s;
}

void DialogAnswerer::enterFileName(QWidget* fileDialog, const QString& path)
{
    auto* dialog = qobject_cast<QFileDialog*>(fileDialog);
    if (!dialog)
        return;
    // A file still selected in the listing would win over the typed name.
    for (auto* view : dialog->findChildren<QAbstractItemView*>()) {
        if (view->selectionModel())
            view->selectionModel()->clear();
    }
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
        name->setText(path);
    else
        dialog->selectFile(path);
}

void DialogAnswerer::poll()
{
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !w->isVisible() || m_handled.contains(w))
        return;
    // Progress dialogs close themselves when their work ends.
    if (w->inherits("DialogProgress"))
        return;
    if (m_graceMs > 0) {
        static QElapsedTimer clock;
        if (!clock.isValid())
            clock.start();
        if (w != m_waitingFor) {
            m_waitingFor = w;
            m_firstSeenMs = clock.elapsed();
            return;
        }
        if (clock.elapsed() - m_firstSeenMs < m_graceMs)
            return;
        m_waitingFor = nullptr;
        qWarning("Closing a dialog that no test answered: %s \"%s\"", w->metaObject()->className(),
                 qPrintable(describe(w).text));
    }
    m_handled.append(w);
    QPointer<QWidget> guard(w);
    connect(w, &QObject::destroyed, this, [this, w]() { m_handled.removeAll(w); });
    m_seen.append(describe(w));
    if (!m_handlers.isEmpty()) {
        Handler h = m_handlers.takeFirst();
        h(w);
    } else if (auto* box = qobject_cast<QMessageBox*>(w)) {
        QAbstractButton* b = box->escapeButton();
        if (!b)
            b = box->defaultButton();
        if (!b && !box->buttons().isEmpty())
            b = box->buttons().first();
        if (b)
            b->click();
        else
            box->reject();
    } else if (auto* d = qobject_cast<QDialog*>(w)) {
        if (QString::fromLatin1(d->metaObject()->className()) == QLatin1String("DialogErrorMessage"))
            d->accept();
        else
            d->reject();
    }
    // A dialog that stays open after its answer (one that ignores reject) is
    // left to the test; it is not answered twice.
    if (guard && !guard->isVisible())
        m_handled.removeAll(guard.data());
}

bool DialogAnswerer::waitForCount(int n, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (m_seen.size() < n && t.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return m_seen.size() >= n;
}

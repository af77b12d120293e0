#pragma once

// Answers the modal dialogs that the tool opens while a test drives it:
// message boxes are recorded and answered (OK, or Yes/No as queued), file
// dialogs get the queued path (an empty one cancels). Nothing is left open.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

#include <memory>

class ModalAnswerer
{
public:
    struct Box
    {
        QString title;
        QString text;
    };

    ModalAnswerer()
    {
        m_timer = std::make_unique<QTimer>();
        m_timer->setInterval(5);
        QObject::connect(m_timer.get(), &QTimer::timeout, [this] { answer(); });
        m_timer->start();
    }

    void queueFile(const QString& path) { m_files.append(path); }
    void queueYes(bool yes) { m_yes.append(yes); }

    QList<Box> boxes() const { return m_boxes; }
    int count() const { return int(m_boxes.size()); }
    Box last() const { return m_boxes.isEmpty() ? Box() : m_boxes.last(); }
    void clear() { m_boxes.clear(); }

private:
    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            m_boxes.append({box->windowTitle(), box->text()});
            QAbstractButton* button = box->button(QMessageBox::Ok);
            if (box->button(QMessageBox::Yes)) {
                const bool yes = !m_yes.isEmpty() && m_yes.takeFirst();
                button = box->button(yes ? QMessageBox::Yes : QMessageBox::No);
            }
            if (!button)
                button = box->buttons().value(0);
            button->click();
            return;
        }
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            const QString path = m_files.isEmpty() ? QString() : m_files.takeFirst();
            if (path.isEmpty()) {
                dialog->reject();
                return;
            }
            // The whole path typed into the name field, as a user may, and
            // taken at once: a selection made through the folder listing can
            // be overtaken by the listing loading in the background.
            // A file still selected in the listing from the last showing
            // would win over the typed name.
            for (auto* view : dialog->findChildren<QAbstractItemView*>()) {
                if (view->selectionModel())
                    view->selectionModel()->clear();
            }
            if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                name->setText(path);
            else
                dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept();
            return;
        }
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    }

    std::unique_ptr<QTimer> m_timer;
    QList<Box> m_boxes;
    QStringList m_files;
    QList<bool> m_yes;
};

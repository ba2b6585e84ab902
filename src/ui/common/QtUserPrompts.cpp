#include "ui/common/QtUserPrompts.h"

#include "ui/common/UiText.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace nkp::ui {
namespace {

// Runs one file dialog; `save` asks before overwriting.
std::optional<std::string> runFileDialog(QWidget* parent, const UserPrompts::FileDialog& d, bool save)
{
    QFileDialog dialog(parent, fromCp1251(d.title));
    dialog.setNameFilter(qtFileFilter(fromCp1251(d.filter)));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!d.defaultExtension.empty())
        dialog.setDefaultSuffix(QString::fromStdString(d.defaultExtension));
    if (!d.initialDir.empty())
        dialog.setDirectory(QString::fromStdString(d.initialDir));
    if (!d.fileName.empty())
        dialog.selectFile(QString::fromStdString(d.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst()).toStdString();
}

}  // namespace

void QtUserPrompts::information(const std::string& caption, const std::string& text)
{
    QMessageBox::information(parent_, fromCp1251(caption), fromCp1251(text));
}

bool QtUserPrompts::informationWithAction(
    const std::string& caption, const std::string& text, const std::string& action)
{
    QMessageBox box(
        QMessageBox::Information, fromCp1251(caption), fromCp1251(text), QMessageBox::Ok, parent_);
    QPushButton* extra = box.addButton(fromCp1251(action), QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == extra;
}

bool QtUserPrompts::warningOkCancel(const std::string& caption, const std::string& text)
{
    return QMessageBox::warning(parent_, fromCp1251(caption), fromCp1251(text),
               QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
        == QMessageBox::Ok;
}

UserPrompts::SaveChoice QtUserPrompts::saveDiscardCancel(const std::string& caption, const std::string& text)
{
    QMessageBox box(
        QMessageBox::Warning, fromCp1251(caption), fromCp1251(text), QMessageBox::NoButton, parent_);
    QPushButton* save = box.addButton(QStringLiteral("Сохранить"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("Не сохранять"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return SaveChoice::Save;
    if (box.clickedButton() == discard)
        return SaveChoice::Discard;
    return SaveChoice::Cancel;
}

void QtUserPrompts::error(const std::string& caption, const std::string& text)
{
    QMessageBox::critical(parent_, fromCp1251(caption), fromCp1251(text));
}

std::optional<std::string> QtUserPrompts::openFile(const FileDialog& dialog)
{
    return runFileDialog(parent_, dialog, false);
}

std::optional<std::string> QtUserPrompts::saveFile(const FileDialog& dialog)
{
    return runFileDialog(parent_, dialog, true);
}

std::optional<std::string> QtUserPrompts::chooseFolder(
    const std::string& title, const std::string& initialDir)
{
    const QString dir
        = QFileDialog::getExistingDirectory(parent_, fromCp1251(title), QString::fromStdString(initialDir));
    if (dir.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dir).toStdString();
}

std::optional<std::string> QtUserPrompts::askSecret(const std::string& caption, const std::string& text)
{
    bool ok = false;
    const QString secret = QInputDialog::getText(
        parent_, fromCp1251(caption), fromCp1251(text), QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return secret.toStdString();
}

}  // namespace nkp::ui

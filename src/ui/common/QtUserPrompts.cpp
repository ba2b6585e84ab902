#include "ui/common/QtUserPrompts.h"

#include "ui/common/UiText.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>

#include <functional>

namespace nkp::ui {
namespace {

// Runs one file dialog; `save` asks before overwriting.
std::optional<std::string> runFileDialog(QWidget* parent, const UserPrompts::FileDialog& d, bool save)
{
    QFileDialog dialog(parent, QString::fromStdString(d.title));
    dialog.setNameFilter(qtFileFilter(QString::fromStdString(d.filter)));
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

QWidget* QtUserPrompts::dialogParent() const
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return parent_;
}

std::unique_ptr<UserPrompts> promptsFor(UserPrompts& given, QWidget* window)
{
    if (!dynamic_cast<QtUserPrompts*>(&given))
        return nullptr;
    return std::make_unique<QtUserPrompts>(window);
}

void QtUserPrompts::information(const std::string& caption, const std::string& text)
{
    QMessageBox::information(dialogParent(), QString::fromStdString(caption), QString::fromStdString(text));
}

bool QtUserPrompts::informationWithAction(
    const std::string& caption, const std::string& text, const std::string& action)
{
    QMessageBox box(QMessageBox::Information, QString::fromStdString(caption), QString::fromStdString(text),
        QMessageBox::Ok, dialogParent());
    QPushButton* extra = box.addButton(QString::fromStdString(action), QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == extra;
}

bool QtUserPrompts::warningOkCancel(const std::string& caption, const std::string& text)
{
    return QMessageBox::warning(dialogParent(), QString::fromStdString(caption), QString::fromStdString(text),
               QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
        == QMessageBox::Ok;
}

UserPrompts::SaveChoice QtUserPrompts::saveDiscardCancel(const std::string& caption, const std::string& text)
{
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(caption), QString::fromStdString(text),
        QMessageBox::NoButton, dialogParent());
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
    QMessageBox::critical(dialogParent(), QString::fromStdString(caption), QString::fromStdString(text));
}

std::optional<std::string> QtUserPrompts::openFile(const FileDialog& dialog)
{
    return runFileDialog(dialogParent(), dialog, false);
}

std::optional<std::string> QtUserPrompts::saveFile(const FileDialog& dialog)
{
    return runFileDialog(dialogParent(), dialog, true);
}

std::optional<std::string> QtUserPrompts::chooseFolder(
    const std::string& title, const std::string& initialDir)
{
    const QString dir = QFileDialog::getExistingDirectory(
        dialogParent(), QString::fromStdString(title), QString::fromStdString(initialDir));
    if (dir.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dir).toStdString();
}

std::optional<std::vector<std::string>> QtUserPrompts::form(
    const std::string& caption, const std::vector<FormField>& fields)
{
    QDialog dialog(parent_);
    dialog.setWindowTitle(QString::fromStdString(caption));
    auto* layout = new QFormLayout(&dialog);
    layout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    // Each field's widget and how its value is read back.
    std::vector<std::function<std::string()>> values;
    for (const FormField& f : fields) {
        const QString value = QString::fromStdString(f.value);
        QWidget* widget = nullptr;
        switch (f.kind) {
        case FormField::Kind::Line: {
            auto* edit = new QLineEdit(value, &dialog);
            values.push_back([edit] { return edit->text().toStdString(); });
            widget = edit;
            break;
        }
        case FormField::Kind::Text: {
            auto* edit = new QPlainTextEdit(value, &dialog);
            edit->setTabChangesFocus(true);
            values.push_back([edit] { return edit->toPlainText().toStdString(); });
            widget = edit;
            break;
        }
        case FormField::Kind::Date: {
            auto* edit = new QDateEdit(&dialog);
            edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
            edit->setCalendarPopup(true);
            const QDate date = QDate::fromString(value, QStringLiteral("dd.MM.yyyy"));
            edit->setDate(date.isValid() ? date : QDate::currentDate());
            values.push_back(
                [edit] { return edit->date().toString(QStringLiteral("dd.MM.yyyy")).toStdString(); });
            widget = edit;
            break;
        }
        case FormField::Kind::Choice: {
            auto* box = new QComboBox(&dialog);
            for (const std::string& c : f.choices)
                box->addItem(QString::fromStdString(c));
            box->setCurrentText(value);
            values.push_back([box] { return box->currentText().toStdString(); });
            widget = box;
            break;
        }
        case FormField::Kind::Number: {
            auto* box = new QSpinBox(&dialog);
            box->setRange(f.minimum, f.maximum);
            if (!f.none.empty())
                box->setSpecialValueText(QString::fromStdString(f.none));
            bool ok = false;
            const int number = value.toInt(&ok);
            box->setValue(ok ? number : f.minimum);
            const bool noneAllowed = !f.none.empty();
            values.push_back([box, noneAllowed] {
                return noneAllowed && box->value() == box->minimum() ? std::string()
                                                                     : std::to_string(box->value());
            });
            widget = box;
            break;
        }
        }
        layout->addRow(QString::fromStdString(f.label), widget);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addRow(buttons);
    dialog.resize(dialog.sizeHint().expandedTo(QSize(420, 0)));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    std::vector<std::string> answers;
    for (const auto& read : values)
        answers.push_back(read());
    return answers;
}

std::optional<std::string> QtUserPrompts::askSecret(const std::string& caption, const std::string& text)
{
    bool ok = false;
    const QString secret = QInputDialog::getText(parent_, QString::fromStdString(caption),
        QString::fromStdString(text), QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return secret.toStdString();
}

}  // namespace nkp::ui

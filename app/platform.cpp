#include "app/platform.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSpinBox>
#include <QTranslator>
#include <QUrl>
#include <QWidget>

namespace {

// Runs a modal dialog and gives the keyboard back to the window that asked.
// A window manager would mostly do that itself; without one (a bare X
// server, some kiosk set-ups) the keys would go nowhere once the box closed.
int RunModal(QDialog& dialog, QWidget* parent) {
    const int result = dialog.exec();
    if (parent != nullptr && parent->window()->isVisible()) parent->window()->activateWindow();
    return result;
}

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setNameFilters(request.nameFilters);
    if (request.selectedFilter >= 0 && request.selectedFilter < request.nameFilters.size())
        dialog.selectNameFilter(request.nameFilters.at(request.selectedFilter));
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.initialFileName.isEmpty()) dialog.selectFile(request.initialFileName);
    dialog.setSizeGripEnabled(true);
    if (RunModal(dialog, parent) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

}  // namespace

std::optional<QString> QtPlatform::GetOpenFileName(QWidget* parent,
                                                   const FileDialogRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtPlatform::GetSaveFileName(QWidget* parent,
                                                   const FileDialogRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptSave);
}

void QtPlatform::ShowErrorBox(QWidget* parent, const QString& title, const QString& message) {
    QMessageBox box(QMessageBox::Critical, title, message, QMessageBox::Ok, parent);
    RunModal(box, parent);
}

void QtPlatform::ShowMessageBox(QWidget* parent, const QString& title, const QString& message) {
    QMessageBox box(QMessageBox::NoIcon, title, message, QMessageBox::Ok, parent);
    RunModal(box, parent);
}

bool QtPlatform::AskYesNo(QWidget* parent, const QString& title, const QString& message,
                          bool yesIsDefault) {
    QMessageBox box(QMessageBox::Warning, title, message, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(yesIsDefault ? QMessageBox::Yes : QMessageBox::No);
    return RunModal(box, parent) == QMessageBox::Yes;
}

SaveAnswer QtPlatform::AskSaveChanges(QWidget* parent, const QString& title,
                                      const QString& message) {
    QMessageBox box(QMessageBox::Warning, title, message,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (RunModal(box, parent)) {
        case QMessageBox::Save:
            return SaveAnswer::Save;
        case QMessageBox::Discard:
            return SaveAnswer::Discard;
        default:
            return SaveAnswer::Cancel;
    }
}

RecoverAnswer QtPlatform::AskRecover(QWidget* parent, const QString& title, const QString& message,
                                     const RecoverButtons& buttons) {
    QMessageBox box(QMessageBox::Question, title, message, QMessageBox::NoButton, parent);
    QPushButton* recover = box.addButton(buttons.recover, QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(buttons.discard, QMessageBox::DestructiveRole);
    QPushButton* later = box.addButton(buttons.later, QMessageBox::RejectRole);
    box.setDefaultButton(recover);
    box.setEscapeButton(later);
    RunModal(box, parent);
    if (box.clickedButton() == recover) return RecoverAnswer::Recover;
    if (box.clickedButton() == discard) return RecoverAnswer::Discard;
    return RecoverAnswer::Later;
}

std::optional<QString> QtPlatform::AskText(QWidget* parent, const QString& title,
                                           const QString& prompt, const QString& initial) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(initial);
    if (RunModal(dialog, parent) != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

std::optional<QSize> QtPlatform::AskSize(QWidget* parent, const QString& title,
                                         const QString& widthLabel, const QString& heightLabel,
                                         QSize initial) {
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* form = new QFormLayout(&dialog);
    // Wide ranges: a number out of what the caller takes is refused by it,
    // with the reason, rather than changed silently by the box.
    const auto side = [&](const QString& label, int value) {
        auto* box = new QSpinBox(&dialog);
        box->setRange(1, 999999);
        box->setValue(value);
        form->addRow(label, box);
        return box;
    };
    QSpinBox* width = side(widthLabel, initial.width());
    QSpinBox* height = side(heightLabel, initial.height());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    width->selectAll();
    if (RunModal(dialog, parent) != QDialog::Accepted) return std::nullopt;
    return QSize(width->value(), height->value());
}

void QtPlatform::OpenWithShell(const QString& target) {
    const QUrl url = QUrl(target, QUrl::StrictMode);
    if (url.isValid() && !url.scheme().isEmpty() && url.scheme().size() > 1) {
        QDesktopServices::openUrl(url);
    } else {
        QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::current().absoluteFilePath(target)));
    }
}

QRect QtPlatform::ScreenGeometry(const QWidget* window) {
    const QScreen* screen = window != nullptr ? window->screen() : nullptr;
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 800, 600);
}

QChar QtPlatform::DecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QChar(u'.') : point.at(0);
}

QtPlatform::QtPlatform() = default;

QtPlatform::~QtPlatform() {
    if (translator_) QCoreApplication::removeTranslator(translator_.get());
}

void QtPlatform::UseToolkitLanguage(const QString& code) {
    if (code == toolkitLanguage_) return;
    toolkitLanguage_ = code;
    if (translator_) {
        QCoreApplication::removeTranslator(translator_.get());
        translator_.reset();
    }
    // The code becomes part of a file name: letters and one underscore only.
    static const QRegularExpression kCode(QStringLiteral("^[a-z]{2,3}(_[A-Z]{2})?$"));
    if (!kCode.match(code).hasMatch()) return;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_") + code,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return;
    QCoreApplication::installTranslator(translator.get());
    translator_ = std::move(translator);
}

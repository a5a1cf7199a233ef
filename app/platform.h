#pragma once

#include <QChar>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

// Settings of one file dialog.
struct FileDialogRequest {
    QString title;
    QStringList nameFilters;  // Qt form: "kavel.def (*.def)"
    int selectedFilter = 0;   // index into nameFilters
    QString defaultSuffix;    // without the dot
    QString initialFileName;  // a name, or a path to start from
    bool confirmOverwrite = false;
};

// Everything the window asks of the desktop that a test must be able to
// answer: modal dialogs and boxes, the shell's "open" verb, the screen and the
// user's locale. The real one is QtPlatform; tests give their own.
class Platform {
  public:
    virtual ~Platform() = default;

    virtual std::optional<QString> GetOpenFileName(QWidget* parent,
                                                   const FileDialogRequest& request) = 0;
    virtual std::optional<QString> GetSaveFileName(QWidget* parent,
                                                   const FileDialogRequest& request) = 0;
    // The application's standard error box: stop icon, OK.
    virtual void ShowErrorBox(QWidget* parent, const QString& title, const QString& message) = 0;
    // A plain message with an OK button.
    virtual void ShowMessageBox(QWidget* parent, const QString& title, const QString& message) = 0;
    // Warning icon, Yes and No, Yes the default. True for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& title, const QString& message) = 0;
    // The shell's "open" verb on a file, a web address or a "mailto:" address.
    virtual void OpenWithShell(const QString& target) = 0;
    virtual QSize ScreenSize() = 0;
    virtual QChar DecimalSeparator() = 0;
};

class QtPlatform : public Platform {
  public:
    std::optional<QString> GetOpenFileName(QWidget* parent,
                                           const FileDialogRequest& request) override;
    std::optional<QString> GetSaveFileName(QWidget* parent,
                                           const FileDialogRequest& request) override;
    void ShowErrorBox(QWidget* parent, const QString& title, const QString& message) override;
    void ShowMessageBox(QWidget* parent, const QString& title, const QString& message) override;
    bool AskYesNo(QWidget* parent, const QString& title, const QString& message) override;
    void OpenWithShell(const QString& target) override;
    QSize ScreenSize() override;
    QChar DecimalSeparator() override;
};

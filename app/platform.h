#pragma once

#include <QChar>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QTranslator;
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

// The answer to the question asked before unsaved changes would be lost.
enum class SaveAnswer { Save, Discard, Cancel };

// The answer to the offer of unsaved changes a killed editor left behind.
enum class RecoverAnswer { Recover, Discard, Later };
struct RecoverButtons {
    QString recover;
    QString discard;
    QString later;
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
    // Warning icon, Yes and No. True for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& title, const QString& message,
                          bool yesIsDefault = true) = 0;
    // Warning icon, Save, Discard and Cancel; Save the default, Escape cancels.
    virtual SaveAnswer AskSaveChanges(QWidget* parent, const QString& title,
                                      const QString& message) = 0;
    // Question icon and the three buttons; Recover the default, Escape for
    // Later, which loses nothing.
    virtual RecoverAnswer AskRecover(QWidget* parent, const QString& title, const QString& message,
                                     const RecoverButtons& buttons) = 0;
    // A one-line text asked for in a small box, starting with `initial`
    // selected; nothing when cancelled.
    virtual std::optional<QString> AskText(QWidget* parent, const QString& title,
                                           const QString& prompt, const QString& initial = {}) = 0;
    // A width and a height in pixels, asked for in a small box that starts
    // with `initial`; nothing when cancelled. Any whole numbers may come
    // back: the caller says which it takes.
    virtual std::optional<QSize> AskSize(QWidget* parent, const QString& title,
                                         const QString& widthLabel, const QString& heightLabel,
                                         QSize initial) = 0;
    // The shell's "open" verb on a file, a web address or a "mailto:" address.
    virtual void OpenWithShell(const QString& target) = 0;
    // The whole screen the window is shown on, in desktop coordinates: on a
    // desktop of several monitors its origin need not be (0, 0).
    virtual QRect ScreenGeometry(const QWidget* window) = 0;
    virtual QChar DecimalSeparator() = 0;
    // The toolkit's own texts (the buttons of boxes, the file dialogs, the
    // names of keys in menus) in the language of this code ("de"), as far as
    // the toolkit's translations are installed; English otherwise.
    virtual void UseToolkitLanguage(const QString& code) = 0;
};

class QtPlatform : public Platform {
  public:
    QtPlatform();
    ~QtPlatform() override;
    std::optional<QString> GetOpenFileName(QWidget* parent,
                                           const FileDialogRequest& request) override;
    std::optional<QString> GetSaveFileName(QWidget* parent,
                                           const FileDialogRequest& request) override;
    void ShowErrorBox(QWidget* parent, const QString& title, const QString& message) override;
    void ShowMessageBox(QWidget* parent, const QString& title, const QString& message) override;
    bool AskYesNo(QWidget* parent, const QString& title, const QString& message,
                  bool yesIsDefault) override;
    SaveAnswer AskSaveChanges(QWidget* parent, const QString& title,
                              const QString& message) override;
    RecoverAnswer AskRecover(QWidget* parent, const QString& title, const QString& message,
                             const RecoverButtons& buttons) override;
    std::optional<QString> AskText(QWidget* parent, const QString& title, const QString& prompt,
                                   const QString& initial) override;
    std::optional<QSize> AskSize(QWidget* parent, const QString& title, const QString& widthLabel,
                                 const QString& heightLabel, QSize initial) override;
    void OpenWithShell(const QString& target) override;
    QRect ScreenGeometry(const QWidget* window) override;
    QChar DecimalSeparator() override;
    void UseToolkitLanguage(const QString& code) override;

  private:
    QString toolkitLanguage_;
    std::unique_ptr<QTranslator> translator_;
};

#pragma once

#include <QStringList>
#include <deque>
#include <optional>

#include "app/platform.h"

// Answers the window's dialogs and boxes from queues, and records what the
// window showed, each box as "title: message".
class FakePlatform : public Platform {
  public:
    // The files "chosen" in the next dialogs; an empty text cancels one.
    QStringList openAnswers;
    QStringList saveAnswers;
    std::deque<bool> yesNoAnswers;  // No when none is left
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    QStringList errorBoxes;
    QStringList messageBoxes;
    QStringList questions;
    std::vector<bool> questionYesDefaults;
    std::deque<SaveAnswer> saveChangesAnswers;  // Cancel when none is left: nothing is lost
    QStringList saveQuestions;
    std::deque<RecoverAnswer> recoverAnswers;  // Later when none is left: nothing is lost
    QStringList recoverQuestions;
    QStringList textAnswers;
    QStringList textPrompts;
    QStringList textInitials;
    QStringList shellOpened;
    std::deque<QSize> sizeAnswers;  // Cancel when none is left
    QRect screen{0, 0, 1366, 768};
    QChar separator{u'.'};
    QString toolkitLanguage;

    std::optional<QString> GetOpenFileName(QWidget*, const FileDialogRequest& request) override {
        openRequests.push_back(request);
        return Next(openAnswers);
    }
    std::optional<QString> GetSaveFileName(QWidget*, const FileDialogRequest& request) override {
        saveRequests.push_back(request);
        return Next(saveAnswers);
    }
    void ShowErrorBox(QWidget*, const QString& title, const QString& message) override {
        errorBoxes.append(title + QStringLiteral(": ") + message);
    }
    void ShowMessageBox(QWidget*, const QString& title, const QString& message) override {
        messageBoxes.append(title + QStringLiteral(": ") + message);
    }
    bool AskYesNo(QWidget*, const QString& title, const QString& message,
                  bool yesIsDefault) override {
        questions.append(title + QStringLiteral(": ") + message);
        questionYesDefaults.push_back(yesIsDefault);
        return Take(yesNoAnswers, false);
    }
    SaveAnswer AskSaveChanges(QWidget*, const QString& title, const QString& message) override {
        saveQuestions.append(title + QStringLiteral(": ") + message);
        return Take(saveChangesAnswers, SaveAnswer::Cancel);
    }
    RecoverAnswer AskRecover(QWidget*, const QString& title, const QString& message,
                             const RecoverButtons&) override {
        recoverQuestions.append(title + QStringLiteral(": ") + message);
        return Take(recoverAnswers, RecoverAnswer::Later);
    }
    std::optional<QString> AskText(QWidget*, const QString& title, const QString& prompt,
                                   const QString& initial) override {
        textPrompts.append(title + QStringLiteral(": ") + prompt);
        textInitials.append(initial);
        return Next(textAnswers);
    }
    std::optional<QSize> AskSize(QWidget*, const QString&, const QString&, const QString&,
                                 QSize) override {
        if (sizeAnswers.empty()) return std::nullopt;  // cancelled
        return Take(sizeAnswers, QSize());
    }
    void OpenWithShell(const QString& target) override { shellOpened.append(target); }
    QRect ScreenGeometry(const QWidget*) override { return screen; }
    QChar DecimalSeparator() override { return separator; }
    void UseToolkitLanguage(const QString& code) override { toolkitLanguage = code; }

  private:
    static std::optional<QString> Next(QStringList& answers) {
        const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
        if (answer.isEmpty()) return std::nullopt;
        return answer;
    }
    template <typename T>
    static T Take(std::deque<T>& answers, T otherwise) {
        if (answers.empty()) return otherwise;
        const T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

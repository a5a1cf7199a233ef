#pragma once

#include <QStringList>
#include <deque>
#include <optional>

#include "app/platform.h"

// Answers the window's dialogs and boxes from queues, and records what the
// window showed.
class FakePlatform : public Platform {
  public:
    // The files "chosen" in the next dialogs; an empty text cancels one.
    QStringList openAnswers;
    QStringList saveAnswers;
    std::deque<bool> yesNoAnswers;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    QStringList errorBoxes;
    QStringList messageBoxes;
    QStringList questions;
    std::vector<bool> questionYesDefaults;
    std::deque<SaveAnswer> saveChangesAnswers;
    QStringList saveQuestions;
    QStringList textAnswers;
    QStringList textPrompts;
    QStringList shellOpened;
    QRect screen{0, 0, 1366, 768};
    QChar separator{u'.'};

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
        if (yesNoAnswers.empty()) return false;
        const bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }
    // Cancel when no answer is queued: nothing is lost by a test that forgot one.
    SaveAnswer AskSaveChanges(QWidget*, const QString& title, const QString& message) override {
        saveQuestions.append(title + QStringLiteral(": ") + message);
        if (saveChangesAnswers.empty()) return SaveAnswer::Cancel;
        const SaveAnswer answer = saveChangesAnswers.front();
        saveChangesAnswers.pop_front();
        return answer;
    }
    std::optional<QString> AskText(QWidget*, const QString& title, const QString& prompt) override {
        textPrompts.append(title + QStringLiteral(": ") + prompt);
        return Next(textAnswers);
    }
    void OpenWithShell(const QString& target) override { shellOpened.append(target); }
    QRect ScreenGeometry(const QWidget*) override { return screen; }
    QChar DecimalSeparator() override { return separator; }

  private:
    static std::optional<QString> Next(QStringList& answers) {
        if (answers.isEmpty()) return std::nullopt;
        const QString answer = answers.takeFirst();
        if (answer.isEmpty()) return std::nullopt;
        return answer;
    }
};

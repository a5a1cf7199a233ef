#pragma once

#include <QStringList>
#include <deque>
#include <optional>

#include "app/platform.h"

// Answers the window's dialogs and boxes from queues, and records what the
// window showed.
class FakePlatform : public Platform {
  public:
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<bool> yesNoAnswers;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    QStringList errorBoxes;
    QStringList messageBoxes;
    QStringList questions;
    QStringList shellOpened;
    QSize screen{1366, 768};
    QChar separator{u'.'};

    std::optional<QString> GetOpenFileName(QWidget*, const FileDialogRequest& request) override {
        openRequests.push_back(request);
        if (openAnswers.empty()) return std::nullopt;
        auto answer = openAnswers.front();
        openAnswers.pop_front();
        return answer;
    }
    std::optional<QString> GetSaveFileName(QWidget*, const FileDialogRequest& request) override {
        saveRequests.push_back(request);
        if (saveAnswers.empty()) return std::nullopt;
        auto answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    void ShowErrorBox(QWidget*, const QString& title, const QString& message) override {
        errorBoxes.append(title + QStringLiteral(": ") + message);
    }
    void ShowMessageBox(QWidget*, const QString& title, const QString& message) override {
        messageBoxes.append(title + QStringLiteral(": ") + message);
    }
    bool AskYesNo(QWidget*, const QString& title, const QString& message) override {
        questions.append(title + QStringLiteral(": ") + message);
        if (yesNoAnswers.empty()) return false;
        const bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }
    void OpenWithShell(const QString& target) override { shellOpened.append(target); }
    QSize ScreenSize() override { return screen; }
    QChar DecimalSeparator() override { return separator; }
};

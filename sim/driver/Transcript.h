// A readable account of a scenario run: what each window showed, every message box, the checks
// made and their outcome, with a PNG screenshot of every window that was opened.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTextStream>
#include <functional>

class QWidget;

class Transcript
{
public:
    // Writes transcript.txt and screenshots/ into `directory`.
    explicit Transcript(const QString& directory);

    void Heading(const QString& title);
    void Line(const QString& text);
    // Every visible control of `window` with what it shows, then a screenshot named after `name`.
    void Window(QWidget* window, const QString& name);
    // Saves a PNG of `window` and notes its file name; returns the file's path.
    QString Screenshot(QWidget* window, const QString& name);
    // From now on screenshots show the whole screen, so a window's place shows too, and `check` looks
    // at each window first.
    void GrabScreen(std::function<void(QWidget*)> check);
    // Records a check; returns `passed`.
    bool Check(bool passed, const QString& what);

    bool allPassed() const { return failures_ == 0; }
    int failures() const { return failures_; }
    QString path() const { return file_.fileName(); }

private:
    QDir directory_;
    QFile file_;
    QTextStream out_;
    std::function<void(QWidget*)> screenCheck_;
    int shots_ = 0;
    int failures_ = 0;
};

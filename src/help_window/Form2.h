#pragma once

#include "help_window/HomepageOpener.h"

#include <QDialog>
#include <QStringList>

class MessageBox;
class ProgramInfo;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class UrlOpener;

/**
 * The help and about window: name, version and credit, ten questions with their answers and a
 * homepage button. Build a new one for every opening and run it with exec(); it keeps nothing.
 */
class Form2 : public QDialog
{
    Q_OBJECT
public:
    /** Builds the window and fills its version label and question list; `owner` is the main window.
     */
    Form2(ProgramInfo& program, UrlOpener& urls, MessageBox& messages, QWidget* owner);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void Form_Load(ProgramInfo& program);
    void Combo1_Click(int listIndex);
    void Command2_Click();
    void OpenWebsite(const QString& address);
    void centerOnOwner();

    QLabel* addLabel(const char* name, const QString& caption, double pointSize, bool bold,
                     Qt::Alignment alignment, int left, int top, int width, int height);
    static void fitLabel(QLabel* label, const QFont& designFont, int flags);
    static void fitButton(QPushButton* button);
    QFrame* addLine(const char* name, const QColor& color, int x1, int x2, int y);
    QRect twipsRect(int left, int top, int width, int height) const;

    HomepageOpener m_homepage;
    double m_twipsPerPixel;
    QStringList m_topics;
    QStringList m_answers;

    QLabel* m_label1 = nullptr;
    QLabel* m_label2 = nullptr;
    QLabel* m_label3 = nullptr;
    QLabel* m_label5 = nullptr;
    QLabel* m_image1 = nullptr;
    QLabel* m_image2 = nullptr;
    QPushButton* m_command1 = nullptr;
    QPushButton* m_command2 = nullptr;
    QComboBox* m_combo1 = nullptr;
};

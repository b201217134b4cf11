#include "QtMessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

/** What the boxes show and which answer askRetry reports. */
class tst_QtMessageBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsWarningWithOk()
    {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString text;
        QString title;
        QList<QMessageBox::StandardButton> buttons;
        answerNextBox([&](QMessageBox* box) {
            icon = box->icon();
            text = box->text();
            title = box->windowTitle();
            for (QAbstractButton* button : box->buttons())
                buttons.append(box->standardButton(button));
            box->button(QMessageBox::Ok)->click();
        });

        QtMessageBox messages;
        messages.show(nullptr, QStringLiteral("Error: site could not be opened"),
                      MessageBox::Exclamation, QStringLiteral("Quippet"));

        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(text, QStringLiteral("Error: site could not be opened"));
        QCOMPARE(title, QStringLiteral("Quippet"));
        QCOMPARE(buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    }

    void askRetry_data()
    {
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("expected");

        QTest::newRow("retry") << QMessageBox::Retry << true;
        QTest::newRow("discard") << QMessageBox::Discard << false;
    }

    void askRetry()
    {
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, expected);
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        answerNextBox([&](QMessageBox* box) {
            icon = box->icon();
            box->button(answer)->click();
        });

        QtMessageBox messages;
        QCOMPARE(
            messages.askRetry(nullptr, QStringLiteral("Could not save"), QStringLiteral("Quippet")),
            expected);
        QCOMPARE(icon, QMessageBox::Warning);
    }

private:
    template <typename Answer> void answerNextBox(Answer answer)
    {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [timer, answer]() {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                timer->deleteLater();
                timer->stop();
                answer(box);
            }
        });
        timer->start(10);
    }
};

QTEST_MAIN(tst_QtMessageBox)
#include "tst_QtMessageBox.moc"

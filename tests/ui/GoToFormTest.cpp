#include "frmGoTo.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

TEST(GoToFormTest, ControlsAsDesigned)
{
    TGoToForm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Go To Line"));
    EXPECT_EQ(form.size(), QSize(315, 182));
    EXPECT_EQ(form.Label1->text(), QStringLiteral("Line #"));
    EXPECT_EQ(form.Label1->buddy(), form.Edit1);
    EXPECT_TRUE(form.Label1->alignment() & Qt::AlignRight);
    EXPECT_LE(form.Label1->geometry().right(), form.Edit1->geometry().left());
    EXPECT_EQ(form.Label2->text(), QStringLiteral("Segment Type:"));
    EXPECT_EQ(form.Label3->text(), QStringLiteral("(e.g. ST)"));
    EXPECT_GE(form.Label3->geometry().left(), form.Edit2->geometry().right());
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("1"));
    EXPECT_EQ(form.Edit2->text(), QString());
    EXPECT_EQ(form.Label4->text(), QStringLiteral("In Set (ST02):"));
    EXPECT_EQ(form.Label4->buddy(), form.Edit3);
    EXPECT_EQ(form.Edit3->text(), QString());
    EXPECT_EQ(form.GoToButton->text(), QStringLiteral("Go To"));
    EXPECT_TRUE(form.GoToButton->isDefault());
    EXPECT_EQ(form.CancelButton->text(), QStringLiteral("Cancel"));

    // Tab goes round the boxes and the buttons in this order.
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    const QList<QWidget *> order
        = { form.Edit1, form.Edit2, form.Edit3, form.GoToButton, form.CancelButton, form.Edit1 };
    for (int i = 0; i < order.size(); ++i) {
        EXPECT_EQ(QApplication::focusWidget(), order[i]) << i;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
}

// Go To is enabled exactly for a 32-bit number above 0 (the rule itself is GoToLine's); the
// check runs on every change and again whenever the dialog is shown.
TEST(GoToFormTest, GoToNeedsAPositiveNumber)
{
    TGoToForm form;
    const struct
    {
        const char *text;
        bool enabled;
    } cases[] = { { "1", true }, { " $1F", true }, { "", false }, { "0", false },
        { "2147483648", false } };
    for (const auto &c : cases) {
        form.Edit1->setText(QLatin1String(c.text));
        EXPECT_EQ(form.GoToButton->isEnabled(), c.enabled) << '"' << c.text << '"';
    }

    form.Edit1->setText(QStringLiteral("25"));
    form.GoToButton->setEnabled(false);
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_TRUE(form.GoToButton->isEnabled());
    EXPECT_TRUE(form.Edit1->hasFocus());
    EXPECT_EQ(form.Edit1->selectedText(), QStringLiteral("25"));
}

// What exec() returns after the keys or clicks given while the dialog is up.
int Exec(TGoToForm &form, const std::function<void()> &act)
{
    QTimer::singleShot(0, &form, [&] {
        act();
        // Whatever the keys did, the dialog ends here.
        if (form.isVisible())
            form.done(-1);
    });
    return form.exec();
}

TEST(GoToFormTest, EnterGoesEscCancelsAndGoToCleansTheType)
{
    TGoToForm form;
    form.Edit2->setText(QStringLiteral(" \tst1\u00e9 \n"));
    EXPECT_EQ(Exec(form, [&] { QTest::keyClick(form.Edit1, Qt::Key_Return); }), QDialog::Accepted);
    EXPECT_EQ(form.Edit2->text(), QStringLiteral("ST1\u00e9"))
        << "trimmed, a to z upper-cased, nothing else";

    EXPECT_EQ(Exec(form, [&] { QTest::keyClick(form.Edit2, Qt::Key_Escape); }), QDialog::Rejected);
    EXPECT_EQ(Exec(form, [&] { form.CancelButton->click(); }), QDialog::Rejected);

    form.Edit2->setText(QStringLiteral(" n1 "));
    const int refused = Exec(form, [&] {
        form.Edit1->setText(QStringLiteral("0"));
        QTest::keyClick(form.Edit1, Qt::Key_Return);
    });
    EXPECT_EQ(refused, -1) << "Enter does nothing while Go To is disabled";
    EXPECT_EQ(form.Edit2->text(), QStringLiteral(" n1 "));
}

} // namespace

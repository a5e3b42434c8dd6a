// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Operation.h"

#include <QPointer>
#include <QWidget>

struct GameContext;
class ImageBox;
class QGroupBox;
class QLabel;
class QPushButton;
class Vortani;

// The start screen: title, version, the four operations, the sound switch and the exit. It stays
// loaded for the whole run; the exercise screen opens above it and comes back to it.
class frmSplash : public QWidget
{
    Q_OBJECT
public:
    explicit frmSplash(GameContext &context, QWidget *parent = nullptr);
    ~frmSplash() override;

    void Form_Load();

    void cmdAdd_Click();
    void cmdSott_Click();
    void cmdMolt_Click();
    void cmdDiv_Click();
    void Check1_Click();
    void cmdEsci_Click();

    // The exercise form while it is loaded.
    Vortani *exerciseForm() const;

    QPushButton *Check1 = nullptr;
    ImageBox *Picture1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLabel *lblProductName = nullptr;
    QLabel *lblVersion = nullptr;
    ImageBox *imgLogo = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdSott = nullptr;
    QPushButton *cmdMolt = nullptr;
    QPushButton *cmdDiv = nullptr;
    QPushButton *cmdEsci = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setupLayout();
    void operationChosen(Operation operation);
    void showExercise();
    void comeBack();

    GameContext &context;
    QPointer<Vortani> exercise;
    // Counts operation choices, so that a handler resumed after its sound knows whether
    // another choice ran in between.
    int operationChoices = 0;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ChoiceCounter.h"
#include "GameForm.h"
#include "Operation.h"

#include <QPointer>

#include <array>

class ExerciseForm;
class ImageBox;
class QGroupBox;
class QLabel;
class QPushButton;

// The start screen: title, version, the four operations, the sound switch and the exit. It stays
// loaded for the whole run; the exercise screen opens above it and comes back to it.
class StartForm : public GameForm
{
    Q_OBJECT
public:
    explicit StartForm(GameContext &context, QWidget *parent = nullptr);
    ~StartForm() override;

    // Shows the version and greets the next exercise screen with its hints.
    void prepare();

    // Opens the exercise screen for the operation, as its button does.
    void chooseOperation(Operation operation);
    void toggleSound();
    // Ends the game.
    void quit();

    // The exercise form while it is loaded.
    ExerciseForm *exerciseForm() const;

    QPushButton *soundSwitch = nullptr;
    ImageBox *banner = nullptr;
    QGroupBox *outerFrame = nullptr;
    QGroupBox *menuFrame = nullptr;
    QLabel *productName = nullptr;
    QLabel *versionLabel = nullptr;
    ImageBox *logo = nullptr;
    // In the order of Operations (Operation.h).
    std::array<QPushButton *, Operations.size()> operationButtons{};
    QPushButton *exitButton = nullptr;
    QLabel *websiteLabel = nullptr;
    QLabel *emailLabel = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setupLayout();
    // Greys out what the class's set-up leaves out, and starts the sound switch as it says.
    void offerTheClassSetup();
    void showExercise();
    void comeBack();

    QPointer<ExerciseForm> exercise;
    ChoiceCounter operationChoices;
};

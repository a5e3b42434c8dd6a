// SPDX-License-Identifier: GPL-3.0-or-later
// Stand-in until the generated header lands.
#pragma once

#include <QString>

#include <array>

namespace GameTexts {
inline const QString WindowTitle = QStringLiteral("Vortani Puzzle");
inline const QString LevelHint = QStringLiteral("Scegli il livello.");
inline const QString TileHint =
    QStringLiteral("Scegli l'operazione cliccando su una tessera del puzzle.");
inline const QString TypingHint = QStringLiteral(
    "Scrivi il risultato utilizzando il tastierino numerico. Conferma premendo il tasto OK.");
inline const QString WrongAnswer = QStringLiteral("Ops! hai sbagliato. Riprova.");
inline const QString Finished = QStringLiteral("Hai finito. Guarda che bel disegno");
inline const QString WholePartOnly = QStringLiteral("solo parte intera");
inline const QString NoPrinter =
    QStringLiteral("Non c'è nessuna stampante pronta: la pagina non è stata stampata.");
inline const QString PrintFailed =
    QStringLiteral("La stampa non è riuscita. Controlla la stampante e riprova.");
inline const std::array<QString, 7> Praise{QStringLiteral("Bravissimo."),
                                           QStringLiteral("Molto bravo."),
                                           QStringLiteral("Dai che vai forte."),
                                           QStringLiteral("Molto bene."),
                                           QStringLiteral("Continua così."),
                                           QStringLiteral("Sei proprio bravo."),
                                           QStringLiteral("Uaoo!")};
struct OperationTitles
{
    QString title;
    QString label;
};
inline const std::array<OperationTitles, 4> Titles{{
    {QStringLiteral("Addizione"), QStringLiteral("Somma =")},
    {QStringLiteral("Sottrazione"), QStringLiteral("Differenza =")},
    {QStringLiteral("Moltiplicazione"), QStringLiteral("Prodotto =")},
    {QStringLiteral("Divisione"), QStringLiteral("Quoziente =")},
}};
} // namespace GameTexts

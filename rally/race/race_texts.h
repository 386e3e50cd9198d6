#pragma once

// What the race says to the pilot, in the simulator's code page (Latin-1),
// and the voice prompts that go with it.
namespace race_text {

constexpr char kLegStarted[] = "TRATTA %d INIZIATA!";
constexpr char kEarlierLegsMissing[] =
    "Non sono state completate tutte le tratte precedenti! Questa tratta non verr\xE0 registrata";
constexpr char kWrongPassDirection[] =
    "PASSAGGIO NON VALIDO! Stai passando in una direzione sbagliata!";
constexpr char kWrongLandingDirection[] =
    "ATTERRAGGIO NON VALIDO! Sei atterrato in direzione errata";
constexpr char kCrashed[] = "L'aereo \xE8 precipitato. Tratta interrotta";
constexpr char kSlewed[] = "SPOSTAMENTO RAPIDO! Tratta interrotta";
constexpr char kAborted[] = "Tratta interrotta";
constexpr char kCollected[] = "RACCOLTA! \"%s\", %d punti";
constexpr char kPercentBonus[] = "BONUS! Hai ricevuto un INCREMENTO del %d%% del punteggio!";
constexpr char kPercentMalus[] = "MALUS! Hai ricevuto una PENALIT\xC0 del %d%% del punteggio!";
constexpr char kPointsBonus[] = "BONUS! Hai guadagnato %d PUNTI!";
constexpr char kPointsMalus[] = "MALUS! Hai PERSO %d PUNTI!";
constexpr char kLegFinished[] = "TRATTA %d CONCLUSA! Tempo: %d secondi; Punteggio: %d.";
constexpr char kNewBest[] = "Hai migliorato il punteggio per questa tratta: CONGRATULAZIONI!";
constexpr char kBreakdown[] =
    "Punteggio: Base %d, Bonus %d, Tempo %d, Prec. %d, Aiuti %d; Totale %d";
constexpr char kNoPoints[] =
    "Mi spiace! Non hai ottenuto punti; questa tratta non verr\xE0 registrata";

}  // namespace race_text

namespace race_voice {

constexpr char kStart[] = "ADV\\RALLY\\Start";
constexpr char kInvalid[] = "ADV\\RALLY\\Invalid";
constexpr char kFailGateDirection[] = "ADV\\RALLY\\FailGateDir";
constexpr char kFailLandingDirection[] = "ADV\\RALLY\\FailLandDir";
constexpr char kCrash[] = "ADV\\RALLY\\Crash";
constexpr char kSlew[] = "ADV\\RALLY\\Slew";
constexpr char kAbort[] = "ADV\\RALLY\\Abort";
constexpr char kBonus[] = "ADV\\RALLY\\Bonus";
constexpr char kMalus[] = "ADV\\RALLY\\Malus";
constexpr char kNewScore[] = "ADV\\RALLY\\NewScore";
constexpr char kNoScore[] = "ADV\\RALLY\\NoScore";

}  // namespace race_voice

// How long the race's own messages stay, in seconds, and the priorities of
// its warnings (a wrong direction outranks flying away).
namespace race_timing {
constexpr int kShortMessageSeconds = 4;
constexpr int kLongMessageSeconds = 6;
constexpr int kFlyingAwayPriority = 1;
constexpr int kWrongDirectionPriority = 2;
}  // namespace race_timing

#pragma once
#include <QString>
#include <cstdint>

// The question of a single-character receive run, from the moment its character
// is drawn until it is answered, passed, timed out or the run stops. Every change
// of its state goes through the operations below; the pickers, the answer keys,
// the keyboard readers, the pass button, the countdown and Stop call them.
//
// The state is readable by all (flags are 16-bit: -1 true, 0 false):
// The character that was sent for the open (or last) question, and in
// listen-through mode the character of the last round.
extern QString SentChar;
// The answer to the question ("ESC" = given up); "" while none was given.
extern QString AnswerChar;
// -1 from the moment a question's character is drawn until its first answer: only
// then does an answer count, and only once.
extern std::int16_t QuestionOpen;
// -1 once the question (or the round) has been counted in AskedCount.
extern std::int16_t QuestionCounted;
// -1 once a key began an answer to the open question: its countdown stays off.
extern std::int16_t CountdownStoppedByKey;

namespace question {
// The picker has drawn text. It becomes the sent character and, in single-character
// receive, the open question (before it sounds, so that an answer given while it
// sounds is judged against it).
void open(const QString& sent);
// No character could be drawn (no range item checked): the next question or round
// keeps the last character.
void openAgain();
// The character and its gap have passed: the answer countdown starts, unless the
// question has been answered, a key has begun its answer or the run has stopped.
void armCountdown();
// The driver after the character: raises AskedCount and Label4 once per question
// or round. An answer given while the character sounded has counted it already.
void count();
// Judges text as the answer to the open question (a right one shows the circle
// and raises CorrectCount, a wrong one shows the sent character and counts its
// miss). false when no question is open: the answer is ignored. The kana keys
// leave the label alone for a wrong answer when nothing was ever sent.
bool answer(const QString& text, bool quietWhenNothingSent = false);
// The pass button and the countdown's time-out: the answer "ESC", the sent
// character shown, its miss counted. Nothing when no question is open.
void giveUp();
// A key that reached an answering reader: the countdown stops. With begins, the
// key began an answer (a judged key, a romaji key), so the countdown stays off for
// the question; any other key leaves its arming alone.
void keyReached(bool begins);
// The registration reader's Esc: an answer "ESC" that never closes an open question.
void escapeWhileNoneOpen();
// The run has ended: the question closes. true when it had been counted and was
// never answered (the asked count is one too high).
bool close();
// The run driver waits while this holds.
inline bool waitingForAnswer() { return AnswerChar.isEmpty(); }
} // namespace question

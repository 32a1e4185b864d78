// DebugController runs one program under the debugging core for the
// editor's window, on the window's own thread: a zero-interval timer gives
// the core short slices of steps, so that the window keeps answering (and
// Pause takes hold between two records) however long the program runs.
// It keeps what the program printed, cut back when steps are undone, and
// the program's input queue. It has no widget: the window shows what it
// says.
//
// Lines here are the lines of the source the run was started on, counted
// from 1, as the core counts them.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "debug_session.h"

class DebugController : public QObject {
  Q_OBJECT

 public:
  enum class Phase {
    Idle,             // no run
    Running,          // a goal is on its way, slice after slice
    Stopped,          // the run stands before a record, waiting for a command
    WaitingForInput,  // the goal waits for a word of input
    Ended,            // the program has ended; stepping back is still possible
  };

  // Steps the core carries out per call, and how long the window's thread
  // runs the program before it takes its events again.
  static constexpr uint64_t kSliceSteps = 5000;
  static constexpr int kTickMilliseconds = 8;
  // How often a long run tells how far it is.
  static constexpr int kProgressMilliseconds = 100;
  // The most bytes of the program's output kept; earlier output is dropped.
  static constexpr std::size_t kKeptOutputBytes = 4u << 20;

  explicit DebugController(QObject* parent = nullptr);
  ~DebugController() override;

  // Assembles source (a source file's bytes) in memory as tarnel does and
  // makes a new run at its first record, nothing carried out yet (no
  // stopped() is sent for it). False,
  // with tarnel's error lines in *messages, when the assembler found
  // errors; true otherwise, *messages then holding the lines of an unknown
  // instruction that was left out, if any.
  bool start(const std::string& path, std::string source, std::vector<std::string>* messages);
  // The run again from its first record, as start() leaves it: output and
  // input queue emptied, breakpoints kept.
  void restart();
  // Ends the run and forgets it.
  void stop();

  Phase phase() const { return phase_; }
  bool hasRun() const { return session_ != nullptr; }
  // The run; only while hasRun().
  const DebugSession& session() const { return *session_; }

  // Goals: the first slice at once, the rest slice by slice from the
  // window's event loop; each ends with stopped().
  void continueRun();
  void step();
  // Runs until the run arrives at record (or a breakpoint, or the end).
  void runTo(int record);
  void stepBack();
  void reverseContinue();
  // Ends the goal between two records.
  void pause();

  // The breakpoints, as source lines: each stops before the record that
  // the line stands for (see ProgramMap::resolveLine); lines that stand
  // for none are left out.
  void setBreakpointLines(const std::vector<int>& lines);

  // Queues text for the program's input; a run waiting for input goes on.
  void feedInput(const std::string& text);
  // No more input will come: input then reads the empty text.
  void endInput();

  // The program's output in this run, the oldest dropped beyond
  // kKeptOutputBytes: output() begins with the byte outputStart() of the
  // run's output.
  const std::string& output() const { return output_; }
  uint64_t outputStart() const { return outputStart_; }
  // Counts the times the output was cut back or emptied, so that a view
  // can tell when to show it anew rather than add to it.
  uint64_t outputCuts() const { return outputCuts_; }

 signals:
  // A goal began (or went on after input came).
  void running();
  // A long run is on its way: steps taken and output grew.
  void progressed();
  // The goal stopped, or waits for input (WaitingForInput).
  void stopped(StopReason reason);
  // A line the core wants the user to read ("input ended at line 14: ...").
  void note(const QString& text);
  // The input queue changed.
  void inputChanged();

 private:
  void begin();
  void tick();
  void collect();
  void finishGoal(StopReason reason);

  std::unique_ptr<DebugSession> session_;
  Phase phase_ = Phase::Idle;
  QTimer timer_;
  QElapsedTimer sinceProgress_;
  std::string output_;
  uint64_t outputStart_ = 0;
  uint64_t outputCuts_ = 0;
};

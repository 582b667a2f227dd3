// How fast a cancelled job stops, and what it leaves behind:
//   bench_cancel_latency [--moments MS,MS,...] PICTURE1 PICTURE2 FOLDER
// Three jobs run on a thread of their own: the export at PICTURE1's size as JPEG and as PNG, and
// the window's job (both pictures loaded for the canvas, composed and written as result.jpg, the
// stop flag taken while the pictures load, as the start button takes it). Each is run once
// uncancelled to time the phase that matters for it (the export's writing of the file, the
// window job's loading), then its stop flag is set at each moment after the start (default 20,
// 100, 250 and 500 ms) and half-way through that phase, twice a moment: into an empty folder,
// and over an earlier file of the output's name. Printed per run: when the flag was set, the
// time from then to the job's return (the latency; the target is 100 ms), how the job ended
// (stopped; completed although the flag was set; done first, before the moment; failed; for
// the window's job, "after it": set once the loads were in, where the window takes no Cancel),
// whether the earlier file is byte for byte what it was and what is new in the folder (a file
// or a temporary); then a pass or fail line per job, and exit status 1 when one fails. The
// runs use FOLDER for their files and remove what they made there.
#include "codecs/PictureDecoder.h"
#include "core/StopFlag.h"
#include "engine/Canvas.h"
#include "engine/PairComposition.h"
#include "job/BlendPictures.h"
#include "job/ExportBlend.h"
#include "job/ResultWriter.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double TargetLatencyMs = 100;

double msBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// When, as far as the bench can see, the phase of a job that the bench aims at begins and ends;
// a job that does not say leaves the whole run.
struct PhaseMarks {
    std::function<void()> starts;
    std::function<void()> ends;
};

// One job as the bench drives it: run with a stop flag, writing into a folder.
struct Job {
    std::string name;
    std::string outputName;
    std::string phaseName;
    std::function<void(const StopFlag& stop, const fs::path& folder, const PhaseMarks& marks)> run;
    // The window takes Cancel only while its job's pictures load: it composes and writes on its
    // own thread, a few milliseconds in which no click reaches it. A flag set after the phase
    // stands for no click the user could make, and is not judged.
    bool cancelledOnlyInPhase = false;
};

struct Arguments {
    std::vector<int> momentsMs{20, 100, 250, 500};
    QString picture1;
    QString picture2;
    fs::path folder;
};

Job exportJob(const Arguments& arguments, const std::string& name, const std::string& outputName)
{
    return {name, outputName, "writing", [&arguments, outputName](const StopFlag& stop, const fs::path& folder,
                                                                  const PhaseMarks& marks) {
                ExportRequest request;
                request.picture1 = arguments.picture1;
                request.picture2 = arguments.picture2;
                request.size.choice = ExportSize::Choice::First;
                request.output = QString::fromStdString((folder / outputName).string());
                ExportControl control;
                control.stop = &stop;
                // The last report below one comes before the file is written.
                control.progress = [&marks](double done) {
                    if (done < 1)
                        marks.starts();
                };
                ExportBlend(request, control);
            }};
}

// The start button's job: the loads take the stop flag; once they are in, the job looks at the
// flag again before composing and before writing, and writes nothing when it is set.
Job windowJob(const Arguments& arguments)
{
    const std::string outputName = "result.jpg";
    return {"window job", outputName, "loading", [&arguments, outputName](const StopFlag& stop, const fs::path& folder,
                                                                          const PhaseMarks& marks) {
                PictureFileLoader files(QSize(Canvas::Width, Canvas::Height));
                StoppingLoader loader(files, stop);
                const BlendPictures pictures = LoadBlendPictures(loader, arguments.picture1, arguments.picture2);
                marks.ends();
                ThrowIfStopped(&stop);
                const Picture result =
                    ComposeWindowBlend(TakePicture(pictures.base), TakePicture(pictures.overlay), 0, 0);
                ThrowIfStopped(&stop);
                WriteResult(result, QString::fromStdString((folder / outputName).string()));
            },
            true};
}

enum class Ending { Finished, Stopped, Failed };

struct RunOutcome {
    Ending ending = Ending::Finished;
    std::string failure;
    Clock::time_point start;
    std::optional<Clock::time_point> phaseStart; // the start when the job does not say
    std::optional<Clock::time_point> phaseEnd;   // the end when the job does not say
    Clock::time_point end;
    std::optional<Clock::time_point> flagSet; // none when the job had returned before the moment
};

// Runs the job on a thread, setting its stop flag at `stopAfter` from its start (never when
// none is given) unless it has returned by then.
RunOutcome runJob(const Job& job, const fs::path& folder, std::optional<Clock::duration> stopAfter)
{
    StopFlag stop{false};
    std::atomic<bool> returned{false};
    // The marks may come from the job's other threads.
    std::mutex marksMutex;
    RunOutcome outcome;
    const auto mark = [&](std::optional<Clock::time_point>& moment) {
        const std::lock_guard<std::mutex> lock(marksMutex);
        moment = Clock::now();
    };
    const PhaseMarks marks{[&] { mark(outcome.phaseStart); }, [&] { mark(outcome.phaseEnd); }};
    outcome.start = Clock::now();
    std::thread worker([&] {
        try {
            job.run(stop, folder, marks);
        } catch (const Stopped&) {
            outcome.ending = Ending::Stopped;
        } catch (const std::exception& failure) {
            outcome.ending = Ending::Failed;
            outcome.failure = failure.what();
        }
        outcome.end = Clock::now();
        returned = true;
    });
    if (stopAfter) {
        std::this_thread::sleep_until(outcome.start + *stopAfter);
        if (!returned) {
            outcome.flagSet = Clock::now();
            stop = true;
        }
    }
    worker.join();
    return outcome;
}

std::string fileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What an earlier export of the same name might hold: bytes no job writes.
std::string earlierBytes()
{
    std::string bytes(1 << 16, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 131 + 7) & 0xff);
    return bytes;
}

struct FolderCheck {
    std::vector<std::string> newEntries;
    bool earlierWhole = true; // also true when there was no earlier file
};

FolderCheck checkFolder(const fs::path& folder, const std::string& outputName, bool hadEarlier)
{
    FolderCheck check;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (!(hadEarlier && name == outputName))
            check.newEntries.push_back(name);
    }
    if (hadEarlier) {
        const fs::path earlier = folder / outputName;
        check.earlierWhole = fs::is_regular_file(earlier) && fileBytes(earlier) == earlierBytes();
        if (!check.earlierWhole)
            check.newEntries.push_back(outputName + " (replaced)");
    }
    return check;
}

std::string joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text;
}

struct Phases {
    double phaseStartMs;
    double phaseEndMs;
    double endMs;
};

// The job uncancelled, to know when its phase runs.
std::optional<Phases> timePhases(const Job& job, const fs::path& folder)
{
    fs::create_directories(folder);
    const RunOutcome outcome = runJob(job, folder, std::nullopt);
    fs::remove_all(folder);
    if (outcome.ending != Ending::Finished) {
        std::printf("%-12s uncancelled run failed: %s\n", job.name.c_str(), outcome.failure.c_str());
        return std::nullopt;
    }
    return Phases{msBetween(outcome.start, outcome.phaseStart.value_or(outcome.start)),
                  msBetween(outcome.start, outcome.phaseEnd.value_or(outcome.end)),
                  msBetween(outcome.start, outcome.end)};
}

struct Verdict {
    double worstLatencyMs = 0;
    int cancelled = 0;
    bool folderClean = true;
    bool earlierWhole = true;
    bool failed = false;
};

// One run with its stop flag set at a moment, printed as one line and added to the job's verdict.
void cancelledRun(const Job& job, const fs::path& folder, const std::string& momentText, double momentMs,
                  bool withEarlier, Verdict& verdict)
{
    fs::create_directories(folder);
    if (withEarlier)
        std::ofstream(folder / job.outputName, std::ios::binary) << earlierBytes();
    const auto stopAfter =
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::milli>(momentMs));
    const RunOutcome outcome = runJob(job, folder, stopAfter);
    const FolderCheck check = checkFolder(folder, job.outputName, withEarlier);
    fs::remove_all(folder);

    const char* ending = outcome.ending == Ending::Stopped  ? "stopped"
                         : outcome.ending == Ending::Failed ? "failed"
                                                            : "completed";
    char setAt[32] = "-", latency[32] = "-";
    const bool afterThePhase = job.cancelledOnlyInPhase && outcome.flagSet && outcome.phaseEnd
                               && *outcome.flagSet > *outcome.phaseEnd;
    if (afterThePhase) {
        std::snprintf(setAt, sizeof setAt, "%.1f", msBetween(outcome.start, *outcome.flagSet));
        ending = "after it";
    } else if (outcome.flagSet) {
        const double latencyMs = msBetween(*outcome.flagSet, outcome.end);
        std::snprintf(setAt, sizeof setAt, "%.1f", msBetween(outcome.start, *outcome.flagSet));
        std::snprintf(latency, sizeof latency, "%.1f", latencyMs);
        ++verdict.cancelled;
        verdict.worstLatencyMs = std::max(verdict.worstLatencyMs, latencyMs);
        // A job that finished although it was asked to stop wrote what it should not have.
        verdict.folderClean = verdict.folderClean && check.newEntries.empty();
        verdict.earlierWhole = verdict.earlierWhole && check.earlierWhole;
    } else {
        ending = "done first";
    }
    verdict.failed = verdict.failed || outcome.ending == Ending::Failed;
    const std::string found = check.newEntries.empty() ? "nothing new" : joined(check.newEntries);
    const char* earlier = !withEarlier ? "(none)" : check.earlierWhole ? "identical" : "changed";
    std::printf("%-12s %-16s %8s %10s  %-10s %-10s %s%s%s\n", job.name.c_str(), momentText.c_str(), setAt, latency,
                ending, earlier, found.c_str(), outcome.failure.empty() ? "" : ": ", outcome.failure.c_str());
}

bool measureJob(const Job& job, const Arguments& arguments)
{
    const fs::path folder = arguments.folder / "cancel-run";
    const std::optional<Phases> phases = timePhases(job, folder);
    if (!phases)
        return false;
    std::printf("%-12s uncancelled: %.0f ms, %s from %.0f to %.0f ms\n", job.name.c_str(), phases->endMs,
                job.phaseName.c_str(), phases->phaseStartMs, phases->phaseEndMs);
    std::vector<std::pair<std::string, double>> moments;
    for (const int ms : arguments.momentsMs)
        moments.emplace_back(std::to_string(ms) + " ms", ms);
    const double phaseMs = (phases->phaseStartMs + phases->phaseEndMs) / 2;
    moments.emplace_back(job.phaseName + " (" + std::to_string(static_cast<int>(phaseMs)) + " ms)", phaseMs);

    Verdict verdict;
    for (const auto& [text, ms] : moments)
        for (const bool withEarlier : {false, true})
            cancelledRun(job, folder, text, ms, withEarlier, verdict);
    const bool fast = verdict.worstLatencyMs <= TargetLatencyMs;
    const bool pass = fast && verdict.folderClean && verdict.earlierWhole && !verdict.failed;
    std::printf("%-12s %s: worst latency %.1f ms over %d cancelled runs (target %.0f ms)%s%s%s\n\n",
                job.name.c_str(), pass ? "PASS" : "FAIL", verdict.worstLatencyMs, verdict.cancelled, TargetLatencyMs,
                verdict.folderClean ? "" : ", something was written",
                verdict.earlierWhole ? "" : ", the earlier file changed", verdict.failed ? ", a run failed" : "");
    return pass;
}

// Milliseconds after the start, "20,100,250": whole numbers up to ten minutes.
std::optional<std::vector<int>> momentsFromText(const QString& text)
{
    std::vector<int> moments;
    for (const QString& part : text.split(QLatin1Char(','))) {
        bool whole = false;
        const int ms = part.toInt(&whole);
        if (!whole || ms < 0 || ms > 600000)
            return std::nullopt;
        moments.push_back(ms);
    }
    return moments;
}

std::optional<Arguments> parseArguments(const QStringList& words)
{
    Arguments arguments;
    QStringList rest = words;
    if (rest.size() >= 2 && rest[0] == QLatin1String("--moments")) {
        const std::optional<std::vector<int>> moments = momentsFromText(rest[1]);
        if (!moments)
            return std::nullopt;
        arguments.momentsMs = *moments;
        rest = rest.mid(2);
    }
    if (rest.size() != 3)
        return std::nullopt;
    arguments.picture1 = rest[0];
    arguments.picture2 = rest[1];
    arguments.folder = fs::path(rest[2].toStdString());
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const std::optional<Arguments> arguments = parseArguments(app.arguments().mid(1));
    if (!arguments || !fs::is_directory(arguments->folder)) {
        std::fprintf(stderr, "usage: bench_cancel_latency [--moments MS,MS,...] PICTURE1 PICTURE2 FOLDER\n");
        return 2;
    }
    const Job jobs[] = {exportJob(*arguments, "export JPEG", "blend.jpg"),
                        exportJob(*arguments, "export PNG", "blend.png"), windowJob(*arguments)};
    std::printf("%-12s %-16s %8s %10s  %-10s %-10s %s\n", "job", "flag set", "at ms", "latency ms", "ending",
                "earlier", "new in the folder");
    bool allPass = true;
    for (const Job& job : jobs)
        allPass = measureJob(job, *arguments) && allPass;
    return allPass ? 0 : 1;
}

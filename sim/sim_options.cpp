#include "sim_options.h"

#include <charconv>
#include <type_traits>

namespace {
bool ToInt(const std::string &s, long long lo, long long hi, long long &out) {
    const char *end = s.data() + s.size();
    auto [p, ec] = std::from_chars(s.data(), end, out);
    return ec == std::errc() && p == end && out >= lo && out <= hi;
}

bool ToShare(const std::string &s, double &out) {
    try {
        size_t used = 0;
        out = std::stod(s, &used);
        return used == s.size() && out >= 0.0 && out <= 1.0;
    } catch (...) {
        return false;
    }
}
}  // namespace

bool ParseSimOptions(const std::vector<std::string> &args, SimOptions &o, std::string &error) {
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool inlineValue = false;
        if (const size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name = name.substr(0, eq);
            inlineValue = true;
        }
        auto next = [&]() -> bool {
            if (inlineValue)
                return true;
            if (i + 1 >= args.size()) {
                error = name + " needs a value";
                return false;
            }
            value = args[++i];
            return true;
        };
        auto number = [&](long long lo, long long hi, auto &field) -> bool {
            long long v = 0;
            if (!next())
                return false;
            if (!ToInt(value, lo, hi, v)) {
                error = name + ": expected a whole number " + std::to_string(lo) + ".." + std::to_string(hi);
                return false;
            }
            field = static_cast<std::remove_reference_t<decltype(field)>>(v);
            return true;
        };
        auto share = [&](double &field) -> bool {
            if (!next())
                return false;
            if (!ToShare(value, field)) {
                error = name + ": expected a share between 0 and 1";
                return false;
            }
            return true;
        };
        bool ok = true;
        if (name == "--help" || name == "-h") {
            o.help = true;
        } else if (name == "--trace") {
            o.trace = true;
        } else if (name == "--project") {
            ok = next() && (o.project = value, true);
        } else if (name == "--device") {
            ok = next() && (o.device = value, true);
        } else if (name == "--files-dir") {
            ok = next() && (o.filesDir = value, true);
        } else if (name == "--ports-dir") {
            ok = next() && (o.portsDir = value, true);
        } else if (name == "--dump") {
            ok = next() && (o.dump = value, true);
        } else if (name == "--com") {
            ok = number(1, 255, o.com);
        } else if (name == "--baud") {
            ok = number(50, 4000000, o.baud);
        } else if (name == "--seed") {
            ok = number(0, 4294967295LL, o.seed);
        } else if (name == "--reply-delay") {
            ok = number(0, 600000, o.replyDelayMs);
        } else if (name == "--reboot-silence") {
            ok = number(0, 3600, o.rebootSilenceS);
        } else if (name == "--drop") {
            ok = share(o.faults.dropShare);
        } else if (name == "--drop-reply") {
            // WORD:N, the first N replies beginning with WORD.
            ok = next();
            const size_t colon = value.rfind(':');
            long long count = 0;
            if (ok && (colon == std::string::npos || colon == 0 || !ToInt(value.substr(colon + 1), 1, 1000000, count))) {
                error = name + ": expected WORD:N, e.g. OK_UPLOAD_PART:4";
                return false;
            }
            if (ok) {
                o.faults.dropWord = value.substr(0, colon);
                o.faults.dropWordCount = size_t(count);
            }
        } else if (name == "--corrupt") {
            ok = share(o.faults.corruptShare);
        } else if (name == "--noise") {
            ok = share(o.faults.noiseShare);
        } else if (name == "--split") {
            ok = number(0, 1600, o.faults.splitBytes);
        } else if (name == "--split-gap") {
            long long ms = 0;
            ok = number(0, 10000, ms);
            o.faults.splitGap = std::chrono::milliseconds(ms);
        } else if (name == "--mute") {
            int adr = 0;
            ok = number(1, 254, adr);
            if (ok)
                o.mute.push_back(adr);
        } else {
            error = "unknown option " + name;
            return false;
        }
        if (!ok)
            return false;
    }
    o.faults.seed = o.seed;
    return true;
}

std::string SimUsage() {
    return R"(Usage: talvik-sim [options]

A simulated TALVIK network (one PD and its BC units) answering the configurator's frames
on a pseudo-terminal registered as COM<N>, or on a serial device given by path.
On start it prints one line "COM<N> -> <pty path>" (or "DEVICE -> <path>").
Stops on SIGINT or SIGTERM and removes its COM link; SIGUSR1 writes the --dump file.

Network:
  --project FILE        devices hold this project file's configuration
                        (default: a demo network: PD 250, BC 238 with 4 AL, BC 240 with 2)
  --files-dir DIR       folder holding each device's disk (PD250/, BC238/, ...);
                        default: a temporary folder removed on exit
  --reboot-silence S    seconds a device stays silent after REBOOT (default 60)
  --dump FILE           write the devices' configuration as a project file on exit and on SIGUSR1
  --mute ADDR           this device hears but never answers (repeatable)

Line:
  --device PATH         attach to this serial device or pseudo-terminal instead of making one
  --com N               register the pseudo-terminal as COM<N> (default: the lowest free number)
  --ports-dir DIR       folder of the COM<N> links (default: ports/ beside the settings file)
  --baud RATE           line speed for pacing and for --device (default 19200); 10 bits a byte
  --reply-delay MS      pause before each reply (default 0)
  --trace               print every frame both ways on stderr

Faults (reproducible with --seed):
  --seed S              seed of every random choice (default 1)
  --drop SHARE          share 0..1 of replies never sent
  --drop-reply WORD:N   the first N replies beginning with WORD are never sent
                        (OK_UPLOAD_PART:4: an upload part and its three resends go unanswered)
  --corrupt SHARE       share 0..1 of replies with one byte changed
  --noise SHARE         share 0..1 of replies preceded by 1..8 junk bytes
  --split BYTES         send replies in pieces of at most BYTES bytes
  --split-gap MS        pause between those pieces
  --help                this text
)";
}

#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "store/DiskStamp.h"

class ByteSink;
class ByteSource;

// Every write of a person's file (the data file, its backup, a copy kept aside, an export,
// a sorted or merged output) goes through GuardedWrite, which decides what may be replaced
// and makes the replacement safe against a crash and a full disk.

// How the caller last read the file that the write would replace.
enum class TargetRead {
    NotRead,     // never loaded: replaced only when it holds no links, or the person said so
    Whole,       // read whole, and what is written comes from it: replaced freely
    Damaged,     // read only in part: copied aside whole first, then replaced
    Unreadable,  // could not be read (or was of a newer version): never replaced
};

struct WritePolicy {
    TargetRead target = TargetRead::NotRead;
    // The person answered Yes to replacing the target after being told its name and how
    // many links it holds, or the target is the program's own copy (the daily backup).
    bool replaceConfirmed = false;
    // Files the operation reads from: never replaced (compared by device and inode).
    std::vector<std::string> inputs;
    // What is written is a data file: an existing file of another kind (an HTML file named
    // by mistake) is replaced only on the person's word too.
    bool dataFile = false;
    // A device, a fifo or a terminal is written into as a stream (an export to
    // /dev/stdout); without this it is refused.
    bool mayStream = false;
    // Where an in-place write keeps its recovery copy; empty: the user's state folder.
    std::string stateFolder;
    // Flush to the disk (off only for benchmarks).
    bool sync = true;
    // The file as the writer read it: the target is replaced only while it still holds
    // exactly that (checked atomically with the replace where the system allows), or is
    // gone. Without it, any content may be replaced that the rules above allow.
    std::optional<DiskStamp> expected;
};

struct WriteResult {
    enum class Outcome {
        Written,
        NeedsAnswer,  // the target holds links that were never loaded (or is no data file where
                      // one is written): ask, then write again
        Refused,      // nothing was written; reason says why
        Failed,       // the write failed; the target is as it was; reason says why
        Changed,      // another program wrote another version since it was read: nothing was
                      // written; reason names that version
    };
    Outcome outcome = Outcome::Failed;
    std::string reason;       // one or two sentences for the person, after the failure message
    int64_t links = 0;        // NeedsAnswer: how many links the target holds (0: it is no data file)
    std::string damagedCopy;  // where a damaged target was kept whole before it was replaced
    bool inPlace = false;     // written in place (the folder lets no file be created)
    bool streamed = false;    // written into a device or fifo
    bool Ok() const { return outcome == Outcome::Written; }
};

// Writes what produce puts into its sink to target under policy, in the target's writer
// turn (taken here unless the caller holds it from its read on). produce returns false
// when it failed; nothing is replaced then.
WriteResult GuardedWrite(const std::string& target, const WritePolicy& policy,
                         const std::function<bool(ByteSink&)>& produce);

// Copies the file from to a target through GuardedWrite: every byte, and a read error
// anywhere fails the copy.
WriteResult CopyFileGuarded(const std::string& from, const std::string& to, const WritePolicy& policy);
// As CopyFileGuarded, but only a data file that reads whole is copied (the backup).
WriteResult CopyWholeDataFile(const std::string& from, const std::string& to, const WritePolicy& policy);

// The sentence that names the version another program left at path.
std::string OtherVersionSentence(const std::string& path);

// How many links the data file at path declares; 0 when it is missing, empty, or not a
// data file at all (an HTML file, a folder).
int64_t LinksInDataFile(const std::string& path);

// True for an empty file and for one that begins as a data file does.
bool IsDataFileOrEmpty(const std::string& path);

// True when both paths name the same file (device and inode).
bool SameFile(const std::string& a, const std::string& b);

// "Could not save annotated links into "%.259s"." with the path cut to 259 characters.
std::string FormatPathMessage(const std::string& format, const std::string& path);

// The question that asks the person before a file with links (links > 0), of a newer
// version (links < 0) or of another kind (links == 0) is replaced.
std::string ReplaceQuestion(const std::string& path, const std::string& countText, int64_t links);

// The failure message of an operation (format holds "%.259s" for the path) with the
// reason after it, two blanks apart.
std::string WriteFailureMessage(const std::string& format, const std::string& path, const WriteResult& result);

// A save cut off in the middle of an in-place write leaves its recovery copy behind. When
// target has one, RecoverInterruptedWrite puts the saved links back: the target as it is
// now is first kept beside it (".damaged"), then replaced by the recovery copy. Returns
// the message for the person, empty when there was nothing to recover.
std::string RecoverInterruptedWrite(const std::string& target, const std::string& stateFolder = {});

// The folder for the program's own state ("~/.local/state/norvelle" on Linux).
std::string UserStateFolder();

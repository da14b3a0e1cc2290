// An output file written under a temporary name beside its final one and renamed into place
// only once complete, so that nothing half-written ever carries the final name.
#pragma once

#include <string>
#include <sys/types.h>

class PendingOutput {
  public:
    PendingOutput() = default;
    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;
    ~PendingOutput() { discard(); }

    // Creates the temporary file now, so that an unwritable place fails before any work.
    bool create(const std::string& finalPath, std::string* error);
    const std::string& tempPath() const { return temp_; }
    const std::string& finalPath() const { return final_; }
    bool commit(std::string* error);
    void discard();

  private:
    std::string final_, temp_;
};

// Removes the pending temporary file also when the process is ended early: by exit(), by
// Ctrl-C or a termination signal, or by a crash or an abort.
void installOutputCleanup();

// A helper process writing into the pending file (ffmpeg): stopped first on such an early end,
// so that it cannot bring the file back after it is removed. 0 when there is none.
void setPendingWriter(pid_t pid);

// The worker processes of a parallel capture, each leading a process group of its own with its
// ffmpeg: on an early end every such group is killed and reaped before the parts are removed.
// A worker is forgotten once it has been reaped. False when there are more than kMaxJobs.
bool addPendingWorker(pid_t pid);
void forgetPendingWorker(pid_t pid);

// A private folder of parts, removed with all it holds on an early end.
bool setPendingFolder(const std::string& path);
void clearPendingFolder();

// Ends all of it now, as an early end would: workers, the writer, the folder and the file.
void abandonPendingWork();

// Removes a folder and the files in it; allocates nothing, so that a signal handler may call it.
bool removeFolder(const char* path);

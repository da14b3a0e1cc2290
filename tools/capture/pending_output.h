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

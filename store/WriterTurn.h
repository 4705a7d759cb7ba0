#pragma once
#include <string>

// Writers of one data file, in this process or in others (norvelle-cli, a second window),
// take turns: each holds its turn from reading the file to replacing it, so that no
// writer replaces what another wrote in between. The turn is an advisory lock on a small
// file beside the data file (".NAME.lock"), or on the data file itself where its folder
// lets no file be made; the system lets go of it when a writer ends, however it ends.
class WriterTurn {
public:
    WriterTurn() = default;
    ~WriterTurn() { Release(); }
    WriterTurn(const WriterTurn&) = delete;
    WriterTurn& operator=(const WriterTurn&) = delete;

    // Waits for the turn on the file at path, at most WriterTurnTimeout(). A thread that
    // holds it already takes it again at once. False when another writer kept it that
    // long; Reason() then says so in a sentence for the person.
    bool Take(const std::string& path);
    void Release();
    bool Held() const { return !m_key.empty(); }
    const std::string& Reason() const { return m_reason; }

private:
    std::string m_key;
    std::string m_reason;
};

// How long a writer waits for another to finish (10 seconds; tests make it shorter).
int WriterTurnTimeoutMs();
void SetWriterTurnTimeoutMs(int milliseconds);

// The lock file of the data file at path.
std::string WriterTurnLockPath(const std::string& path);

#pragma once
#include <string>

// A pseudo-terminal pair for serial tests. The slave path is what a port opens;
// the master fd is the "far end" the test reads and writes. Both ends close with the object.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    int masterFd() const { return m_master; }
    const std::string &slavePath() const { return m_slavePath; }
    // Closes the far end, as a pulled cable or an ended peer would.
    void closeMaster();
    // Keeps the slave side open so the pair survives while no port holds it.
    void closeSlaveKeeper();

    // Writes all bytes to the master side; returns false on error.
    bool writeMaster(const void *data, size_t size);
    // Reads up to `size` bytes from the master within `timeoutMs`; returns the bytes read.
    std::string readMaster(size_t size, int timeoutMs);

private:
    int m_master = -1;
    int m_slaveKeeper = -1;
    std::string m_slavePath;
};

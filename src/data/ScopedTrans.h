#pragma once

#include "data/Connection.h"

// A transaction that is rolled back unless it was committed, whichever way its scope ends.
class ScopedTrans {
public:
    explicit ScopedTrans(Connection& connection) : connection_(connection) {
        connection_.BeginTrans();
    }
    ~ScopedTrans() {
        if (!committed_) {
            try {
                connection_.RollbackTrans();
            } catch (...) {
                // The error that ended the scope is the one worth reporting.
            }
        }
    }
    ScopedTrans(const ScopedTrans&) = delete;
    ScopedTrans& operator=(const ScopedTrans&) = delete;

    void Commit() {
        connection_.CommitTrans();
        committed_ = true;
    }

private:
    Connection& connection_;
    bool committed_ = false;
};

#pragma once

#include <memory>

class ScopedTrans;

// Statements that happen as a whole or not at all, on the one connection: rolled back unless
// committed, whichever way the scope ends.
class Transaction {
public:
    Transaction();
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit();

private:
    std::unique_ptr<ScopedTrans> trans_;
};

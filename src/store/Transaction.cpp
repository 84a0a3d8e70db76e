#include "store/Transaction.h"

#include "data/ScopedTrans.h"
#include "data/modDB.h"

Transaction::Transaction() : trans_(std::make_unique<ScopedTrans>(*gConn)) {}

Transaction::~Transaction() = default;

void Transaction::Commit() {
    trans_->Commit();
}

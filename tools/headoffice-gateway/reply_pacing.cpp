#include "reply_pacing.h"

#include <thread>

namespace qor::headoffice {

void ReplyPacing::beforePiece() {
    if (!paused() || pauses_ >= kPieces) return;
    ++pauses_;
    std::this_thread::sleep_for(total_ / kPieces);
}

}  // namespace qor::headoffice

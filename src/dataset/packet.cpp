#include "dataset/packet.h"

namespace qor::ds {

void loadPacket(Dataset& target, std::string_view bytes) {
    target.close();
    target.clearFields();
    if (bytes.empty()) return;  // no packet: the target stays closed
    // openWith leaves the target inactive when the packet's columns cannot be taken.
    target.openWith(readPacket(bytes));
}

}  // namespace qor::ds

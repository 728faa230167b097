// Reading the chains of a PrnInfoEx back in tests.
#pragma once

#include <vector>

namespace tb58::test {

template <typename Node>
std::vector<const Node*> ChainNodes(const Node* first) {
    std::vector<const Node*> nodes;
    for (const Node* node = first; node != nullptr; node = static_cast<const Node*>(node->next)) {
        nodes.push_back(node);
    }
    return nodes;
}

}  // namespace tb58::test

#include "TagTemplate.h"

namespace quelvar {

void TagTemplate::SetText(std::size_t field, std::string text) {
    std::string& current = texts_.at(field);
    if (current == text) {
        return;
    }
    current = std::move(text);
    for (const ChangeListener& listener : listeners_) {
        listener(field);
    }
}

void TagTemplate::AddChangeListener(ChangeListener listener) {
    listeners_.push_back(std::move(listener));
}

}  // namespace quelvar

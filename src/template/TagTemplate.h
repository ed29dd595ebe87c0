#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "TemplateFields.h"

namespace quelvar {

// The eleven texts of a tag template, in the order of TemplateFields. Every change of a text,
// whoever makes it, is announced to the listeners, as typing into the field's box would be.
class TagTemplate {
  public:
    using ChangeListener = std::function<void(std::size_t field)>;

    const std::string& Text(std::size_t field) const { return texts_.at(field); }

    // Stores the text; when it differs from the field's current text, tells every listener.
    void SetText(std::size_t field, std::string text);

    void AddChangeListener(ChangeListener listener);

  private:
    std::array<std::string, kFieldCount> texts_;
    std::vector<ChangeListener> listeners_;
};

}  // namespace quelvar

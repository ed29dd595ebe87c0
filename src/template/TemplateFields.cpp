#include "TemplateFields.h"

namespace quelvar {

// The author's name is stored under "Edited", and the defaults under Element<n>Default while
// their boxes are txtDefault<n>: existing template files use these keys.
const std::array<TemplateField, kFieldCount> TemplateFields{{
    {"txtAuthor", "Edited", "&Author：", "作者名を指定します。"},
    {"txtBaseElement", "BaseElement", "&BaseElement：",
     "ベースエレメント(固定されている部分を入力します)"},
    {"txtCloseTag", "CloseTag", "&CloseTag：", "閉じタグを入力します。使用しない場合はそのまま。"},
    {"txtDefault1", "Element1Default", "Default：", "指定可能要素1のデフォルトの値を入力します。"},
    {"txtDefault2", "Element2Default", "Default：", "指定可能要素2のデフォルトの値を入力します。"},
    {"txtDefault3", "Element3Default", "Default：", "指定可能要素3のデフォルトの値を入力します。"},
    {"txtElement1", "Element1", "Element1：", "指定可能要素1の要素名を入力します。"},
    {"txtElement2", "Element2", "Element2：", "指定可能要素2の要素名を入力します。"},
    {"txtElement3", "Element3", "Element3：", "指定可能要素3の要素名を入力します。"},
    {"txtIndex", "Index", "&Index：",
     "要素を並べる順番を指定します。  B=ベースエレメント 1=指定可能要素1 "
     "2=指定可能要素2 3=指定可能要素3"},
    {"txtTagName", "TagName", "Tag&Name：", "タグの名前を指定します。"},
}};

std::string CaptionText(std::string_view caption) {
    std::string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            ++i;
        }
        text += caption[i];
    }
    return text;
}

}  // namespace quelvar

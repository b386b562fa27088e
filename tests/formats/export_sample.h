#pragma once

#include <string>

#include "model/sami_model.h"
#include "support/cp949.h"

namespace verbanta::test {

/// A two-language document for the export tests: Korean captions with markup, a comment,
/// captions sharing a start time and a last caption without end sync; English captions with
/// bold, entities and a colour without a CSS name.
inline void FillExportSample(SamiModel& model)
{
    auto add = [&](int ms, const std::string& utf8Text, int kind = 0) {
        SyncEntry e;
        model.InitEntry(e);
        e.startMs = ms;
        e.isEndSync = kind == 1;
        e.isComment = kind == 2;
        e.text = kind == 1 ? "&nbsp;" : cp949(utf8Text);
        model.AddTail(e, false);
    };
    model.title = cp949("내보내기 시험");
    model.AddLanguageClass(".ENCC");
    model.listCount = 2;
    model.classNames[1] = "ENCC";

    model.SetCurrentSlot(0);
    add(1000, "<i>안녕하세요</i><br>\r\n반갑습니다");
    add(3000, "", 1);
    add(0, "번역 메모", 2);
    add(4000, "<font color=yellow>노란</font> 글씨 &amp; 기호");
    add(4000, "같은 시각");
    add(6500, "마지막");

    model.SetCurrentSlot(1);
    add(1000, "<b>Hello</b>");
    add(2500, "", 1);
    add(4000, "A &lt;tag&gt; and <font color=\"#FF8000\">orange</font>");
    add(5000, "", 1);
    model.SetCurrentSlot(0);
}

}  // namespace verbanta::test

#pragma once
#include <gtest/gtest.h>

#include <cstdio>

#include "core/game/widevectors.h"

namespace kv::test {

// Runs `check` once with each wide form this CPU has (widest first, plain last), each as a scoped
// trace, then gives back the form that was in use. A CPU without a form says so once in the log.
template <class Check>
void ForEachWideForm(Check&& check)
{
    const game::TWideForm before = game::WideForm();
    for (const game::TWideForm form : {game::TWideForm::Avx512, game::TWideForm::Avx2, game::TWideForm::Plain}) {
        if (game::SetWideForm(form) != form) {
            static bool told = false;
            if (!told) std::printf("this CPU lacks the %s form; it is not checked here\n", game::WideFormName(form));
            told = true;
            continue;
        }
        SCOPED_TRACE(game::WideFormName(form));
        check(form);
    }
    game::SetWideForm(before);
}

} // namespace kv::test

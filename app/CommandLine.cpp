#include "app/CommandLine.h"

namespace
{

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

// Where the first argument may begin. The program's name ends at the next quote when it starts with one,
// else at the first blank; a backslash is a plain character in it (a folder ends with one).
std::size_t SkipProgramName(std::wstring_view line)
{
    std::size_t at = 0;
    if (!line.empty() && line[0] == L'"')
    {
        const std::size_t closing = line.find(L'"', 1);
        at = closing == std::wstring_view::npos ? line.size() : closing + 1;
    }
    else
        while (at < line.size() && !IsBlank(line[at]))
            ++at;
    return at;
}

// Compares with an option word written in lower case, folding ASCII letters only: "/QUİT" is no "/quit".
bool SameWord(const std::wstring& text, std::wstring_view word)
{
    if (text.size() != word.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const wchar_t c =
            text[i] >= L'A' && text[i] <= L'Z' ? static_cast<wchar_t>(text[i] - L'A' + L'a') : text[i];
        if (c != word[i])
            return false;
    }
    return true;
}

} // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view line)
{
    std::vector<std::wstring> arguments;
    std::size_t at = SkipProgramName(line);
    for (;;)
    {
        while (at < line.size() && IsBlank(line[at]))
            ++at;
        if (at == line.size())
            return arguments;
        std::wstring argument;
        std::size_t backslashes = 0; // the backslashes just copied, which a quote after them halves
        // The quotes of the current run: 1 inside quotes; a closing quote makes 2, and a third in a row is a
        // literal quote that also ends the quoted part.
        int quotes = 0;
        for (; at < line.size() && (quotes != 0 || !IsBlank(line[at])); ++at)
        {
            const wchar_t c = line[at];
            if (c != L'"')
            {
                argument += c;
                backslashes = c == L'\\' ? backslashes + 1 : 0;
                continue;
            }
            // 2n backslashes and a quote: n backslashes, and the quote opens or closes a quoted part. 2n + 1
            // backslashes and a quote: n backslashes and a literal quote.
            argument.resize(argument.size() - (backslashes + 1) / 2);
            if (backslashes % 2 == 0)
                ++quotes;
            else
                argument += L'"';
            backslashes = 0;
            for (; at + 1 < line.size() && line[at + 1] == L'"'; ++at)
                if (++quotes == 3)
                {
                    argument += L'"';
                    quotes = 0;
                }
            if (quotes == 2)
                quotes = 0;
        }
        arguments.push_back(std::move(argument));
    }
}

StartRequest ReadStartRequest(std::wstring_view commandLine)
{
    const std::vector<std::wstring> arguments = SplitCommandLine(commandLine);
    if (arguments.empty())
        return StartRequest::Run;
    if (arguments.size() == 1 && SameWord(arguments[0], L"/quit"))
        return StartRequest::Quit;
    if (arguments.size() == 2 && SameWord(arguments[0], L"/autostart"))
    {
        if (SameWord(arguments[1], L"on"))
            return StartRequest::AutostartOn;
        if (SameWord(arguments[1], L"off"))
            return StartRequest::AutostartOff;
    }
    return StartRequest::Refused;
}

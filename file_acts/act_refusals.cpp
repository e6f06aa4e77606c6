#include "file_acts/act_refusals.h"

#include "util/system_error.h"

std::string ActRefusalText(unsigned long code)
{
    switch (code) {
    case ActLeadsOut:
        return "a link or a folder on its way leads outside the folders chosen";
    case ActOtherName:
        return "another file stands there";
    case ActNotTheFile:
        return "it is not the file recorded";
    case ActOtherLinks:
        return "the file has other names";
    case ActStillThere:
        return "it is still there after its deletion";
    case ActTimeNotKept:
        return "its file system did not keep the package's last-write time";
    case ActTooLargeForFat:
        return "the target's file system (FAT) takes no file of 4 GB or more";
    default:
        return std::string();
    }
}

std::string ActErrorText(unsigned long code)
{
    std::string own = ActRefusalText(code);
    return own.empty() ? ErrorTextOrCode(code) : own;
}

std::string ActReasonText(unsigned long code)
{
    std::string own = ActRefusalText(code);
    return own.empty() ? SystemErrorText(code) : own;
}

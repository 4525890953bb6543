#pragma once

// The result of every engine operation: 0 is success, anything else is passed up unchanged.
enum VNResultEnum : int
{
    VN_OK = 0,
    VN_FAIL = 1,
};

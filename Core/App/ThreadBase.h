#pragma once

namespace app
{

// Empty common base of the platform thread classes.
class ThreadBase
{
};

} // namespace app

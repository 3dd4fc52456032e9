// Helpers shared by the conformance tests.
#pragma once

#include <afxwin.h>
#include <standin/ScriptedUser.h>
#include <standin/WideFormat.h>

#include <gtest/gtest.h>

// True when `f` throws an MFC exception of type E (thrown as E*, as MFC
// does); the exception is deleted.
template <class E, class F> bool throwsMfc(F f)
{
    try {
        f();
    } catch (E* e) {
        e->Delete();
        return true;
    } catch (CException* e) {
        e->Delete();
    }
    return false;
}

// Installs a ScriptedUser for one test and checks at its end that every
// question matched its answer.
class WithUser : public ::testing::Test {
protected:
    void SetUp() override { previous_ = standin::setCurrentUser(&user); }
    void TearDown() override
    {
        standin::setCurrentUser(previous_);
        EXPECT_TRUE(user.complaints().empty())
            << "first complaint: "
            << (user.complaints().empty() ? std::string() : standin::narrow(user.complaints().front()));
    }
    standin::ScriptedUser user;

private:
    standin::User* previous_ = nullptr;
};

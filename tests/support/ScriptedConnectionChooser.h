#pragma once
// A connection chooser for tests. A test queues one answer per selection it
// expects: cancel, or OK on an entry (by index) with an optional new
// parameter. The chooser records what it was offered, runs the offered check
// on the answer as the dialog would (an answer the check refuses fails the
// test unless it was queued as unchecked), and fails the test on a selection
// it did not expect (answered with cancel) and, when it goes, on answers
// that were never asked for. It installs itself while it lives and puts the
// previous chooser back afterwards. Header-only: link platform_bus.

#include "platform/bus/ConnectionChooser.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

class CScriptedConnectionChooser : public Falcon::IConnectionChooser {
public:
    struct Answer {
        bool bOk = false;
        int nIndex = 0;
        std::optional<std::string> oParameter;
        // Hands the answer back even when the offered check refuses it, as a
        // chooser that does not check would.
        bool bUnchecked = false;
    };

    CScriptedConnectionChooser() : m_pPrevious(Falcon::SetConnectionChooser(this)) {}
    ~CScriptedConnectionChooser() override {
        Falcon::SetConnectionChooser(m_pPrevious);
        EXPECT_TRUE(m_queAnswers.empty()) << m_queAnswers.size() << " connection choices never asked for";
    }

    CScriptedConnectionChooser(const CScriptedConnectionChooser&) = delete;
    CScriptedConnectionChooser& operator=(const CScriptedConnectionChooser&) = delete;

    CScriptedConnectionChooser& ThenCancel() {
        m_queAnswers.push_back(Answer {});
        return *this;
    }
    CScriptedConnectionChooser& ThenChoose(int nIndex, std::optional<std::string> oParameter = std::nullopt) {
        m_queAnswers.push_back(Answer {true, nIndex, std::move(oParameter), false});
        return *this;
    }
    CScriptedConnectionChooser& ThenChooseUnchecked(int nIndex, std::string strParameter) {
        m_queAnswers.push_back(Answer {true, nIndex, std::move(strParameter), true});
        return *this;
    }

    bool ChooseConnection(Falcon::ConnectionChoice& choice) override {
        m_vecOffered.push_back(choice);
        if (m_queAnswers.empty()) {
            ADD_FAILURE() << "unexpected connection choice";
            return false;
        }
        const Answer answer = m_queAnswers.front();
        m_queAnswers.pop_front();
        if (!answer.bOk) {
            return false;
        }
        if (answer.nIndex < 0 || static_cast<std::size_t>(answer.nIndex) >= choice.vecEntries.size()) {
            ADD_FAILURE() << "no connection " << answer.nIndex << " offered";
            return false;
        }
        Falcon::ConnectionEntry& entry = choice.vecEntries[static_cast<std::size_t>(answer.nIndex)];
        if (answer.oParameter) {
            entry.strParameter = *answer.oParameter;
        }
        if (!answer.bUnchecked && choice.fnCheck) {
            EXPECT_EQ(choice.fnCheck(entry), Falcon::EConnectionProblem::None)
                << "the chosen connection fails its check: " << entry.strParameter;
        }
        choice.nSelected = answer.nIndex;
        return true;
    }

    // Every choice offered, as it was offered.
    const std::vector<Falcon::ConnectionChoice>& GetOffered() const { return m_vecOffered; }
    std::size_t GetPendingCount() const { return m_queAnswers.size(); }

private:
    Falcon::IConnectionChooser* m_pPrevious;
    std::deque<Answer> m_queAnswers;
    std::vector<Falcon::ConnectionChoice> m_vecOffered;
};

// Block initialisation and sub-model marking in-process, against the test blocks.
#include "ParseRoot.h"
#include "RootClass.h"
#include "Simulator.h"
#include "SimulatorBlock.h"
#include "model_blocks_registry.h"
#include "run_vireo.h"
#include "vireoBlocks.h"
#include "vireoEngine.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

class Blocks : public ModelBlocksRegistry {
protected:
    static std::unique_ptr<SimulatorBlock> make(int number, const char* name) {
        return std::unique_ptr<SimulatorBlock>(ParseRoot::createBlock(number, String(name)));
    }
};

std::string row(const char* r) { return std::string(r, 1024); }

}  // namespace

TEST_F(Blocks, InitialisationSizesAndFillsTheArrays) {
    // SUM: 2 outputs, 12 IP slots, 1 RP, 1 DP, up to 3 reals and 2 texts.
    auto b = make(7, "sum");
    auto inputs = new InputList;
    inputs->insert(new InsInOut(String("3.2")));
    b->setInputs(inputs);
    auto params = new BlockParameters;
    params->insert(new Parameter(1.5f));
    params->last();
    params->insert(new Parameter(String("north")));
    params->last();
    params->insert(new Parameter(-2.0f));
    b->setParameters(params);

    ASSERT_TRUE(b->init());
    const int* ip = b->IP();
    ASSERT_NE(ip, nullptr);
    EXPECT_EQ(ip[0], 0);
    EXPECT_EQ(ip[1], 1);
    EXPECT_EQ(ip[2], 3);  // SUM is the third name of its block
    EXPECT_EQ(ip[3], 7);
    EXPECT_EQ(ip[4], 1);
    for (int k = 5; k < 12; ++k) EXPECT_EQ(ip[k], 0) << k;
    EXPECT_EQ(b->IN()[0], 0.0f);
    EXPECT_EQ(b->OUT()[0], 0.0f);
    EXPECT_EQ(b->OUT()[1], 0.0f);
    EXPECT_EQ(b->RP()[0], 0.0f);
    EXPECT_EQ(b->DP()[0], 0.0);
    EXPECT_EQ(b->BP()[0], 1.5f);
    EXPECT_EQ(b->BP()[1], -2.0f);
    EXPECT_EQ(b->BP()[2], 0.0f);
    // Texts are blank-padded rows without a terminator; an unused row is all blanks.
    EXPECT_EQ(row(b->SP()[0]), "north" + std::string(1019, ' '));
    EXPECT_EQ(row(b->SP()[1]), std::string(1024, ' '));

    b->tini();
    EXPECT_EQ(ip[1], 2);
    EXPECT_EQ(ip[3], 7);
}

TEST_F(Blocks, ArraysOfSizeZeroStayNull) {
    auto d = make(1, "delay");  // no RP, DP, parameters or texts; no inputs here
    ASSERT_TRUE(d->init());
    EXPECT_EQ(d->IN(), nullptr);
    EXPECT_NE(d->OUT(), nullptr);
    EXPECT_EQ(d->RP(), nullptr);
    EXPECT_EQ(d->DP(), nullptr);
    EXPECT_EQ(d->BP(), nullptr);
    EXPECT_EQ(d->SP(), nullptr);
}

TEST_F(Blocks, OnlyTimersWithProgressMultiplyTheTotalOfTimerCalls) {
    RootClass::_totalNumberOfTimerCalls = 1;
    auto steps = [](float n) {
        auto p = new BlockParameters;
        p->insert(new Parameter(n));
        return p;
    };
    auto hourly = make(1, "timer");
    hourly->setParameters(steps(8760.0f));
    auto minutes = make(2, "timer");
    minutes->setParameters(steps(60.0f));
    auto quiet = make(3, "timernp");
    quiet->setParameters(steps(1000.0f));
    hourly->init();
    minutes->init();
    quiet->init();
    EXPECT_EQ(RootClass::_totalNumberOfTimerCalls, 8760 * 60);
    EXPECT_EQ(RootClass::_leftNumberOfTimerCalls, 8760 * 60);
}

TEST_F(Blocks, ABlockThatCannotBeInitialisedIsACountedErrorWithItsMessage) {
    Simulator simulator;
    auto* noFunction = new SimulatorBlock(1, String("GHOST"), nullptr);
    simulator.addSimulatorBlock(noFunction);
    auto* real = ParseRoot::createBlock(2, String("add"));
    simulator.addSimulatorBlock(real);
    simulator.calculationList().insert(noFunction);
    simulator.calculationList().insert(real);
    simulator.init();
    EXPECT_EQ(RootClass::_errors, 1);
    EXPECT_EQ(RootClass::iarr[0], 304032);
    EXPECT_EQ(RootClass::iarr[1], 1);
    EXPECT_EQ(RootClass::iarr[2], 2);
}

// Runs fn on a thread whose stack holds 256 KiB, where a walk that recursed once per
// block would overflow long before the end of a chain of 20 000.
void onSmallStack(void (*fn)(void*), void* arg) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 256 * 1024);
    struct Call {
        void (*fn)(void*);
        void* arg;
    } call{fn, arg};
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attr, [](void* c) -> void* {
        static_cast<Call*>(c)->fn(static_cast<Call*>(c)->arg);
        return nullptr;
    }, &call), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
}

// Marking walks chains of any length without deep recursion.
TEST_F(Blocks, MarkingFollowsLongChainsInOrder) {
    constexpr int kLength = 20000;
    std::vector<std::unique_ptr<SimulatorBlock>> chain;
    chain.reserve(kLength);
    for (int k = 0; k < kLength; ++k) {
        chain.push_back(std::make_unique<SimulatorBlock>(k + 1, String("B"), nullptr));
        if (k > 0) {
            chain[k - 1]->addSuccessor(chain[k].get());
            auto* in = new InputList;
            auto* ref = new InsInOut(String(std::to_string(k).c_str()));
            ref->source = chain[k - 1].get();
            in->insert(ref);
            chain[k]->setInputs(in);
        }
    }
    SubModel downstream(0, String("T"), nullptr);
    SubModel upstream(0, String("L"), nullptr);
    struct Walk {
        std::vector<std::unique_ptr<SimulatorBlock>>& chain;
        SubModel& downstream;
        SubModel& upstream;
    } walk{chain, downstream, upstream};
    onSmallStack([](void* w) {
        auto& walk = *static_cast<Walk*>(w);
        walk.chain.front()->markSuccessors(&walk.downstream);
        walk.chain.back()->markPredecessors(&walk.upstream);
    }, &walk);
    ASSERT_EQ(downstream.members.length(), static_cast<unsigned>(kLength));
    EXPECT_EQ(downstream.members[1], chain[0].get());
    EXPECT_EQ(downstream.members[kLength], chain[kLength - 1].get());
    ASSERT_EQ(upstream.members.length(), static_cast<unsigned>(kLength));
    EXPECT_EQ(upstream.members[1], chain[kLength - 1].get());
    EXPECT_EQ(upstream.members[kLength], chain[0].get());
    EXPECT_EQ(chain[5]->enclosingSubModels.length(), 2u);
}

// Downstream marking goes depth first along each successor in turn, through loop tops,
// which are marked but never members.
TEST_F(Blocks, MarkingOrderAndLoopTops) {
    auto a = make(1, "add"), b = make(2, "add"), top = make(3, "ltop"), c = make(4, "add"), d = make(5, "add");
    a->addSuccessor(b.get());
    a->addSuccessor(d.get());
    b->addSuccessor(top.get());
    top->addSuccessor(c.get());
    c->addSuccessor(a.get());  // back to the start: the walk stops there
    SubModel m(9, String("T"), nullptr);
    a->markSuccessors(&m);
    std::vector<int> members;
    for (unsigned k = 1; k <= m.members.length(); ++k) members.push_back(m.members[k]->number());
    EXPECT_EQ(members, (std::vector<int>{1, 2, 4, 5}));
    EXPECT_TRUE(top->enclosingSubModels.contains(&m));
}

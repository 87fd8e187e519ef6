// Our own list of related English word forms, built into the executable so that
// `peluxbar dict build` needs nothing but the downloaded sources. data/irregularverbs.txt is
// made from it by `peluxbar dict make-data`; a test keeps the two the same.
#include "dictbuild/dict_build.h"

namespace pelux {

namespace {

constexpr std::string_view kIrregularVerbs = R"(
PeluxBar English word forms: one group of related forms a line (irregular verbs, then contractions)
arise arose arisen arises arising
awake awoke awoken awakes awaking
be am is are was were been being
bear bore borne born bears bearing
beat beaten beats beating
become became becomes becoming
begin began begun begins beginning
bend bent bends bending
bet bets betting
bid bids bidding
bind bound binds binding
bite bit bitten bites biting
bleed bled bleeds bleeding
blow blew blown blows blowing
break broke broken breaks breaking
breed bred breeds breeding
bring brought brings bringing
broadcast broadcasts broadcasting
build built builds building
burn burnt burned burns burning
burst bursts bursting
buy bought buys buying
cast casts casting
catch caught catches catching
choose chose chosen chooses choosing
cling clung clings clinging
come came comes coming
cost costs costing
creep crept creeps creeping
cut cuts cutting
deal dealt deals dealing
dig dug digs digging
dive dove dived dives diving
do did done does doing
draw drew drawn draws drawing
dream dreamt dreamed dreams dreaming
drink drank drunk drinks drinking
drive drove driven drives driving
dwell dwelt dwells dwelling
eat ate eaten eats eating
fall fell fallen falls falling
feed fed feeds feeding
feel felt feels feeling
fight fought fights fighting
find found finds finding
flee fled flees fleeing
fling flung flings flinging
fly flew flown flies flying
forbid forbade forbidden forbids forbidding
forecast forecasts forecasting
forget forgot forgotten forgets forgetting
forgive forgave forgiven forgives forgiving
freeze froze frozen freezes freezing
get got gotten gets getting
give gave given gives giving
go went gone goes going
grind ground grinds grinding
grow grew grown grows growing
hang hung hangs hanging
have has had having
hear heard hears hearing
hide hid hidden hides hiding
hit hits hitting
hold held holds holding
hurt hurts hurting
keep kept keeps keeping
kneel knelt kneels kneeling
knit knits knitting
know knew known knows knowing
lay laid lays laying
lead led leads leading
lean leant leaned leans leaning
leap leapt leaped leaps leaping
learn learnt learned learns learning
leave left leaves leaving
lend lent lends lending
let lets letting
lie lay lain lies lying
light lit lighted lights lighting
lose lost loses losing
make made makes making
mean meant means meaning
meet met meets meeting
mistake mistook mistaken mistakes mistaking
misunderstand misunderstood misunderstands misunderstanding
mow mowed mown mows mowing
overcome overcame overcomes overcoming
overtake overtook overtaken overtakes overtaking
pay paid pays paying
prove proved proven proves proving
put puts putting
quit quits quitting
read reads reading
rid rids ridding
ride rode ridden rides riding
ring rang rung rings ringing
rise rose risen rises rising
run ran runs running
saw sawed sawn saws sawing
say said says saying
see saw seen sees seeing
seek sought seeks seeking
sell sold sells selling
send sent sends sending
set sets setting
sew sewed sewn sews sewing
shake shook shaken shakes shaking
shed sheds shedding
shine shone shines shining
shoot shot shoots shooting
show showed shown shows showing
shrink shrank shrunk shrinks shrinking
shut shuts shutting
sing sang sung sings singing
sink sank sunk sinks sinking
sit sat sits sitting
slay slew slain slays slaying
sleep slept sleeps sleeping
slide slid slides sliding
sling slung slings slinging
slit slits slitting
smell smelt smelled smells smelling
sow sowed sown sows sowing
speak spoke spoken speaks speaking
speed sped speeds speeding
spell spelt spelled spells spelling
spend spent spends spending
spill spilt spilled spills spilling
spin spun spins spinning
spit spat spits spitting
split splits splitting
spoil spoilt spoiled spoils spoiling
spread spreads spreading
spring sprang sprung springs springing
stand stood stands standing
steal stole stolen steals stealing
stick stuck sticks sticking
sting stung stings stinging
stink stank stunk stinks stinking
stride strode stridden strides striding
strike struck strikes striking
string strung strings stringing
strive strove striven strives striving
swear swore sworn swears swearing
sweep swept sweeps sweeping
swell swelled swollen swells swelling
swim swam swum swims swimming
swing swung swings swinging
take took taken takes taking
teach taught teaches teaching
tear tore torn tears tearing
tell told tells telling
think thought thinks thinking
throw threw thrown throws throwing
thrust thrusts thrusting
tread trod trodden treads treading
understand understood understands understanding
undertake undertook undertaken undertakes undertaking
undo undid undone undoes undoing
upset upsets upsetting
wake woke woken wakes waking
wear wore worn wears wearing
weave wove woven weaves weaving
weep wept weeps weeping
wet wets wetting
win won wins winning
wind wound winds winding
withdraw withdrew withdrawn withdraws withdrawing
wring wrung wrings wringing
write wrote written writes writing
child children
man men
woman women
person people
mouse mice
tooth teeth
foot feet
goose geese
ox oxen
good better best
bad worse worst
far farther further farthest furthest
do don't doesn't didn't
does doesn't
did didn't
let let's
will won't
can can't cannot
could couldn't
shall shan't
should shouldn't
would wouldn't
must mustn't
need needn't
is isn't
are aren't
was wasn't
were weren't
have haven't
has hasn't
had hadn't
i i'm i'd i'll i've
you you're you'd you'll you've
he he's he'd he'll
she she's she'd she'll
it it's it'd it'll
we we're we'd we'll we've
they they're they'd they'll they've
that that's that'd that'll
there there's there'd there'll
here here's
what what's what'd what'll
who who's who'd who'll who've
where where's
how how's
)";

}  // namespace

// The raw string starts with a line feed so that the list reads as it will in the file.
std::string_view irregularVerbsText() { return kIrregularVerbs.substr(1); }

}  // namespace pelux

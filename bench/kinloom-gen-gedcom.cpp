// Writes a synthetic GEDCOM 5.5 file of about PEOPLE people for the import benchmarks:
//   kinloom-gen-gedcom PEOPLE OUT.ged [SEED]
// Families of realistic shape (couples with zero to nine children over several generations, children
// marrying people from outside the tree), with dates, places, occupations, notes with continuation
// lines, shared note records, sources and citations. UTF-8, with accented names. The same arguments
// always give the same file.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

const char* kMaleNames[] = {"John", "William", "James", "Thomas", "George", "Henry", "Charles", "Edward", "Jörg",
                            "François", "José", "Søren", "Łukasz", "Ángel", "Piotr", "Hans", "Olaf", "Matthäus"};
const char* kFemaleNames[] = {"Mary", "Elizabeth", "Anne", "Sarah", "Margaret", "Jane", "Catherine", "Émilie",
                              "Zoë", "Małgorzata", "Åsa", "Inés", "Bridget", "Hélène", "Ingrid", "Agnès"};
const char* kSurnames[] = {"Smith", "Jones", "Taylor", "Brown", "Müller", "Østergård", "García", "Nowak",
                           "Dubois", "Kowalski", "Björk", "O'Brien", "Schäfer", "Lefèvre", "Walsh", "Nuñez",
                           "Andersson", "Fischer", "Martín", "Wójcik"};
const char* kPlaces[] = {"Leeds, Yorkshire, England", "Zürich, Schweiz", "Kraków, Polska", "Århus, Danmark",
                         "Sevilla, España", "Lyon, France", "Cork, Ireland", "Göteborg, Sverige",
                         "Boston, Massachusetts, USA", "München, Bayern, Deutschland"};
const char* kOccupations[] = {"Farmer", "Blacksmith", "Weaver", "Miner", "Teacher", "Clerk", "Carpenter",
                              "Seamstress", "Merchant", "Labourer"};
const char* kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

struct Person {
    bool male;
    int given;
    int surname;
    int birthYear;
    int famc = 0;
    std::vector<int> fams;
};

struct Family {
    int husband;
    int wife;
    int year;
    std::vector<int> children;
};

class Generator {
public:
    Generator(long target, unsigned seed)
        : m_target(target), m_rng(seed) {}

    void build()
    {
        while (long(m_people.size()) < m_target) {
            // A founding couple; their descendants fill the tree breadth first.
            const int year = 1500 + pick(300);
            const int f = marry(newPerson(true, pick(20), year), newPerson(false, pick(20), year + pick(6)), year + 22);
            std::vector<int> queue{f};
            for (size_t q = 0; q < queue.size() && long(m_people.size()) < m_target; ++q) {
                // Copies: marrying a child below adds families and moves the list.
                const int familyYear = m_families[queue[q]].year;
                const int surname = m_people[m_families[queue[q]].husband].surname;
                const int children = childCount();
                for (int c = 0; c < children && long(m_people.size()) < m_target; ++c) {
                    const bool male = chance(50);
                    const int child = newPerson(male, surname, familyYear + 1 + 2 * c);
                    m_people[child].famc = queue[q] + 1;
                    m_families[queue[q]].children.push_back(child);
                    if (chance(65) && m_people[child].birthYear < 1990) {
                        const int partner = newPerson(!male, pick(20), m_people[child].birthYear + pick(7) - 3);
                        const int y = m_people[child].birthYear + 20 + pick(10);
                        queue.push_back(male ? marry(child, partner, y) : marry(partner, child, y));
                    }
                }
            }
        }
    }

    void write(FILE* out)
    {
        const int sources = std::max(1, int(m_people.size() / 100));
        const int notes = std::max(1, int(m_people.size() / 50));
        std::fputs("0 HEAD\n1 SOUR KINLOOM_GEN\n2 VERS 1.0\n2 NAME Kinloom synthetic data\n1 DEST ANY\n"
                   "1 DATE 1 JAN 2024\n1 SUBM @U1@\n1 GEDC\n2 VERS 5.5\n2 FORM LINEAGE-LINKED\n1 CHAR UTF-8\n"
                   "0 @U1@ SUBM\n1 NAME Benchmark\n", out);
        for (size_t i = 0; i < m_people.size(); ++i)
            writePerson(out, int(i), sources, notes);
        for (size_t i = 0; i < m_families.size(); ++i)
            writeFamily(out, int(i), sources);
        for (int s = 1; s <= sources; ++s) {
            std::fprintf(out, "0 @S%d@ SOUR\n1 TITL Parish registers of %s, volume %d\n1 AUTH Church of the parish\n"
                              "1 PUBL Diocesan archive, %d\n1 ABBR Registers %d\n1 REPO @R1@\n",
                         s, kPlaces[s % 10], s, 1850 + s % 150, s);
            if (s % 3 == 0)
                std::fprintf(out, "1 NOTE Transcribed from microfilm reel %d; some pages are\n2 CONC  hard to read.\n", s);
        }
        std::fputs("0 @R1@ REPO\n1 NAME National Archive\n1 ADDR 1 Archive Road\n2 CONT Capital City\n", out);
        for (int n = 1; n <= notes; ++n)
            std::fprintf(out, "0 @N%d@ NOTE Family tradition %d says the family came from %s.\n"
                              "1 CONT This was written down by a grandchild many years later and\n"
                              "1 CONC  has not been checked against the records.\n",
                         n, n, kPlaces[n % 10]);
        std::fputs("0 TRLR\n", out);
    }

    size_t people() const { return m_people.size(); }
    size_t families() const { return m_families.size(); }

private:
    int pick(int n) { return int(m_rng() % unsigned(n)); }
    bool chance(int percent) { return pick(100) < percent; }

    int childCount()
    {
        static const int weights[] = {10, 12, 18, 18, 14, 10, 8, 5, 3, 2};  // 0 to 9 children
        int r = pick(100);
        for (int k = 0; k < 10; ++k) {
            if (r < weights[k])
                return k;
            r -= weights[k];
        }
        return 3;
    }

    int newPerson(bool male, int surname, int birthYear)
    {
        m_people.push_back({male, pick(male ? 18 : 16), surname % 20, birthYear, 0, {}});
        return int(m_people.size() - 1);
    }

    int marry(int husband, int wife, int year)
    {
        m_families.push_back({husband, wife, year, {}});
        const int f = int(m_families.size());
        m_people[husband].fams.push_back(f);
        m_people[wife].fams.push_back(f);
        return f - 1;
    }

    std::string date(int year)
    {
        switch (pick(10)) {
        case 0: return "ABT " + std::to_string(year);
        case 1: return std::to_string(year);
        case 2: return "BET " + std::to_string(year) + " AND " + std::to_string(year + 2);
        default: return std::to_string(1 + pick(28)) + " " + kMonths[pick(12)] + " " + std::to_string(year);
        }
    }

    void citation(FILE* out, int level, int sources)
    {
        std::fprintf(out, "%d SOUR @S%d@\n%d PAGE folio %d, entry %d\n", level, 1 + pick(sources), level + 1,
                     1 + pick(400), 1 + pick(30));
        if (chance(30))
            std::fprintf(out, "%d QUAY %d\n", level + 1, pick(4));
    }

    void writePerson(FILE* out, int i, int sources, int notes)
    {
        const Person& p = m_people[i];
        const char* given = p.male ? kMaleNames[p.given] : kFemaleNames[p.given];
        std::fprintf(out, "0 @I%d@ INDI\n1 NAME %s /%s/\n2 GIVN %s\n2 SURN %s\n1 SEX %c\n", i + 1, given,
                     kSurnames[p.surname], given, kSurnames[p.surname], p.male ? 'M' : 'F');
        std::fprintf(out, "1 BIRT\n2 DATE %s\n2 PLAC %s\n", date(p.birthYear).c_str(), kPlaces[pick(10)]);
        if (chance(60))
            citation(out, 2, sources);
        if (chance(40))
            std::fprintf(out, "1 CHR\n2 DATE %s\n2 PLAC %s\n", date(p.birthYear).c_str(), kPlaces[pick(10)]);
        if (p.birthYear < 1940 && chance(80)) {
            std::fprintf(out, "1 DEAT\n2 DATE %s\n2 PLAC %s\n", date(p.birthYear + 30 + pick(60)).c_str(),
                         kPlaces[pick(10)]);
            if (chance(30))
                std::fprintf(out, "2 CAUS Fever\n");
            if (chance(50))
                std::fprintf(out, "1 BURI\n2 PLAC Churchyard of %s\n", kPlaces[pick(10)]);
        }
        if (chance(50))
            std::fprintf(out, "1 OCCU %s\n", kOccupations[pick(10)]);
        if (chance(25))
            std::fprintf(out, "1 RESI\n2 DATE %d\n2 PLAC %s\n", p.birthYear + 25, kPlaces[pick(10)]);
        if (chance(20))
            std::fprintf(out, "1 NOTE %s was remembered as a kind and hard-working person who\n"
                              "2 CONC  never left the parish.\n2 CONT Letters of the family mention the name often.\n",
                         given);
        if (chance(10))
            std::fprintf(out, "1 NOTE @N%d@\n", 1 + pick(notes));
        if (chance(30))
            citation(out, 1, sources);
        if (p.famc)
            std::fprintf(out, "1 FAMC @F%d@\n", p.famc);
        for (int f : p.fams)
            std::fprintf(out, "1 FAMS @F%d@\n", f);
        std::fprintf(out, "1 CHAN\n2 DATE %d %s 2023\n", 1 + pick(28), kMonths[pick(12)]);
    }

    void writeFamily(FILE* out, int i, int sources)
    {
        const Family& f = m_families[i];
        std::fprintf(out, "0 @F%d@ FAM\n1 HUSB @I%d@\n1 WIFE @I%d@\n", i + 1, f.husband + 1, f.wife + 1);
        for (int c : f.children)
            std::fprintf(out, "1 CHIL @I%d@\n", c + 1);
        std::fprintf(out, "1 MARR\n2 DATE %s\n2 PLAC %s\n", date(f.year).c_str(), kPlaces[pick(10)]);
        if (chance(40))
            citation(out, 2, sources);
        if (chance(5))
            std::fprintf(out, "1 DIV\n2 DATE %d\n", f.year + 10 + pick(20));
    }

    long m_target;
    std::mt19937 m_rng;
    std::vector<Person> m_people;
    std::vector<Family> m_families;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PEOPLE OUT.ged [SEED]\n", argv[0]);
        return 2;
    }
    const long people = std::strtol(argv[1], nullptr, 10);
    if (people < 1) {
        std::fprintf(stderr, "PEOPLE must be a positive number\n");
        return 2;
    }
    FILE* out = std::fopen(argv[2], "wb");
    if (!out) {
        std::perror(argv[2]);
        return 1;
    }
    Generator g(people, argc > 3 ? unsigned(std::strtoul(argv[3], nullptr, 10)) : 1u);
    g.build();
    g.write(out);
    if (std::fclose(out) != 0) {
        std::perror(argv[2]);
        return 1;
    }
    std::printf("people: %zu\nfamilies: %zu\n", g.people(), g.families());
    return 0;
}

#include "literalsearch.h"
#include "networks.h"

#include "route/criteria.h"
#include "route/findway.h"

#include <benchmark/benchmark.h>
#include <boost/graph/adjacency_list.hpp>
#include <boost/graph/compressed_sparse_row_graph.hpp>
#include <boost/graph/dijkstra_shortest_paths.hpp>

#include <map>
#include <string>
#include <utility>
#include <vector>

// Times route searches on generated networks (grid and radial, 1 000 to 100 000 stops), each
// iteration the same three queries (start and finish) for every method:
// the indexed search on a prepared index, the whole FindWay (indexes built for the search), the
// literal reference (up to 10 000 stops) and Boost.Graph's Dijkstra on the same links; the
// fastest way on a prepared WaySearch. On a city whose stops carry overlapping routes and whose
// times are not proportional to lengths: the fastest way and the one with the fewest changes.

namespace {

using AdjList =
    boost::adjacency_list<boost::vecS, boost::vecS, boost::directedS, boost::no_property,
                          boost::property<boost::edge_weight_t, double>>;
struct EdgeLength {
    double length;
};
using Csr = boost::compressed_sparse_row_graph<boost::directedS, boost::no_property, EdgeLength>;

struct Network {
    std::unique_ptr<lirsk::GraphMap> map;
    AdjList adjList;
    Csr csr;
    std::vector<std::pair<int, int>> queries; // list positions of start and finish
};

enum Kind { Grid, Radial, City };

template <typename T, typename Graph> auto vertexMap(std::vector<T>& values, const Graph& g) {
    return boost::make_iterator_property_map(values.begin(), boost::get(boost::vertex_index, g));
}

Network& network(Kind kind, int stops) {
    static std::map<std::pair<int, int>, Network> cache;
    auto [it, added] = cache.try_emplace({kind, stops});
    Network& net = it->second;
    if (!added)
        return net;
    net.map = kind == Grid     ? bench::gridNetwork(stops)
              : kind == Radial ? bench::radialNetwork(stops)
                               : bench::routedCity(stops);
    const lirsk::GraphMap& map = *net.map;
    const int n = map.stopCount();
    // Ids equal list positions in the generated networks.
    std::vector<std::pair<int, int>> edges;
    std::vector<EdgeLength> lengths;
    for (int k = 0; k < n; ++k)
        boost::add_vertex(net.adjList);
    for (const lirsk::Stop& stop : map.stops())
        for (const lirsk::Link& link : stop.Links) {
            const int to = map.stop(link.To).Id;
            boost::add_edge(std::size_t(stop.Id), std::size_t(to), link.Length, net.adjList);
            edges.emplace_back(stop.Id, to);
            lengths.push_back({link.Length});
        }
    net.csr = Csr(boost::edges_are_unsorted_multi_pass, edges.begin(), edges.end(), lengths.begin(),
                  std::size_t(n));
    if (kind != Radial)
        net.queries = {{n / 2, 0}, {0, n - 1}, {n / 3, n / 2 + 7}};
    else
        net.queries = {{0, n - 1}, {n / 2, n / 5}, {n - 1, 1}};
    return net;
}

std::string label(Kind kind, const char* what) {
    return std::string(kind == Grid ? "grid/" : kind == Radial ? "radial/" : "city/") + what;
}

void indexed(benchmark::State& state, Kind kind) {
    Network& net = network(kind, int(state.range(0)));
    lirsk::RouteIndex index(*net.map);
    const auto& stops = net.map->stops();
    double lowerings = 0;
    for (auto _ : state) {
        lowerings = 0;
        for (const auto& [a, b] : net.queries) {
            const lirsk::SearchResult r = index.search(a, b);
            lowerings += double(r.lowerings);
        }
    }
    // Lowerings of a stop's PathLength per stop and query; Dijkstra settles each stop once.
    state.counters["lowerings_per_stop"] =
        lowerings / double(net.queries.size()) / double(stops.size());
}

void findWay(benchmark::State& state, Kind kind) {
    Network& net = network(kind, int(state.range(0)));
    for (auto _ : state)
        for (const auto& [a, b] : net.queries)
            benchmark::DoNotOptimize(lirsk::FindWay(*net.map, a, b));
}

// The fastest way or the one with the fewest changes, on indexes built once.
void byCriterion(benchmark::State& state, Kind kind, lirsk::Criterion criterion) {
    Network& net = network(kind, int(state.range(0)));
    lirsk::WaySearch search(*net.map);
    for (auto _ : state)
        for (const auto& [a, b] : net.queries)
            benchmark::DoNotOptimize(search.search(criterion, a, b));
}

void literal(benchmark::State& state, Kind kind) {
    Network& net = network(kind, int(state.range(0)));
    for (auto _ : state)
        for (const auto& [a, b] : net.queries)
            benchmark::DoNotOptimize(lirsk::literal::FindWay(*net.map, a, b));
}

void boostAdjList(benchmark::State& state, Kind kind) {
    Network& net = network(kind, int(state.range(0)));
    const std::size_t n = boost::num_vertices(net.adjList);
    std::vector<std::size_t> pred(n);
    std::vector<double> dist(n);
    for (auto _ : state) {
        for (const auto& [a, b] : net.queries) {
            boost::dijkstra_shortest_paths(net.adjList, std::size_t(a),
                                           boost::predecessor_map(vertexMap(pred, net.adjList))
                                               .distance_map(vertexMap(dist, net.adjList)));
            benchmark::DoNotOptimize(dist[std::size_t(b)]);
        }
    }
}

void boostCsr(benchmark::State& state, Kind kind) {
    Network& net = network(kind, int(state.range(0)));
    const std::size_t n = boost::num_vertices(net.csr);
    std::vector<std::size_t> pred(n);
    std::vector<double> dist(n);
    for (auto _ : state) {
        for (const auto& [a, b] : net.queries) {
            boost::dijkstra_shortest_paths(
                net.csr, std::size_t(a),
                boost::predecessor_map(vertexMap(pred, net.csr))
                    .distance_map(vertexMap(dist, net.csr))
                    .weight_map(boost::get(&EdgeLength::length, net.csr)));
            benchmark::DoNotOptimize(dist[std::size_t(b)]);
        }
    }
}

// The indexed search and Dijkstra must agree on every shortest length before any timing counts.
bool agree(Kind kind, int stops) {
    Network& net = network(kind, stops);
    const std::size_t n = boost::num_vertices(net.csr);
    std::vector<std::size_t> pred(n);
    std::vector<double> dist(n);
    for (const auto& [a, b] : net.queries) {
        const lirsk::SearchResult found = lirsk::FindWay(*net.map, a, b);
        boost::dijkstra_shortest_paths(net.csr, std::size_t(a),
                                       boost::predecessor_map(vertexMap(pred, net.csr))
                                           .distance_map(vertexMap(dist, net.csr))
                                           .weight_map(boost::get(&EdgeLength::length, net.csr)));
        for (lirsk::StopIndex stop = 0; stop < net.map->stopCount(); ++stop) {
            const int id = net.map->stop(stop).Id;
            const double length = found.pathLength[std::size_t(stop)];
            const double d = dist[std::size_t(id)];
            const bool unreached = d >= lirsk::UnreachedLength;
            if (unreached ? length != lirsk::UnreachedLength : length != d) {
                std::fprintf(stderr, "stop %d: %.17g against %.17g\n", id, length, d);
                return false;
            }
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    for (Kind kind : {Grid, Radial}) {
        for (int stops : {1000, 10000, 100000}) {
            if (!agree(kind, stops)) {
                std::fprintf(stderr, "%s %d: the search and Dijkstra disagree\n",
                             kind == Grid ? "grid" : "radial", stops);
                return 1;
            }
        }
        benchmark::RegisterBenchmark(label(kind, "indexed").c_str(), indexed, kind)
            ->RangeMultiplier(10)
            ->Range(1000, 100000)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(label(kind, "findway").c_str(), findWay, kind)
            ->RangeMultiplier(10)
            ->Range(1000, 100000)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(label(kind, "boost_adjlist").c_str(), boostAdjList, kind)
            ->RangeMultiplier(10)
            ->Range(1000, 100000)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(label(kind, "boost_csr").c_str(), boostCsr, kind)
            ->RangeMultiplier(10)
            ->Range(1000, 100000)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(label(kind, "literal").c_str(), literal, kind)
            ->RangeMultiplier(10)
            ->Range(1000, 10000)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(label(kind, "fastest").c_str(), byCriterion, kind,
                                     lirsk::Criterion::Fastest)
            ->RangeMultiplier(10)
            ->Range(1000, 100000)
            ->Unit(benchmark::kMicrosecond);
    }
    for (const auto& [name, criterion] : {std::pair{"fastest", lirsk::Criterion::Fastest},
                                          std::pair{"changes", lirsk::Criterion::FewestChanges}})
        benchmark::RegisterBenchmark(label(City, name).c_str(), byCriterion, City, criterion)
            ->RangeMultiplier(10)
            ->Range(1000, 100000)
            ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Controle de créditos: carga do livro (controle do período anterior) e compensação de cada
// linha, com 10^4 e 10^5 linhas de crédito (SQLite e, com PISCO_PG_URL, PostgreSQL).
// Mede o tempo por linha (mediana de várias execuções); a razão entre os tamanhos deve ficar
// abaixo de 1,5: custo linear.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fmt/format.h>
#include <string>
#include <vector>

#include "blocom/control/nFisEFDGeradorBlocoMConfig_U.h"
#include "credits/nFisEFDControleCredito_U.h"
#include "db/Schema.h"
#include "host/Database.h"
#include "base/DateTime.h"
#include "host/Host.h"
#include "host/OpcaoEFD.h"

namespace {

constexpr int kExecucoes = 5;

// Empresa 1 com a opção da EFD, a tabela de compensação (todos os tipos, 100%) e N linhas no
// controle de créditos de dezembro de 2023, cada uma um crédito distinto (CNPJ sucedido único),
// de quatro períodos e três tipos: grupos grandes do mesmo período e tipo.
void Preparar(TDatabase& banco, TDialeto dialeto, int64_t n) {
  banco.IniciarTransacao();
  banco.ExecutarScript(GerarDDL(dialeto));
  banco.Executar("INSERT INTO OPCAOEFD (CODIGOEMPRESA, CODIGOESTAB, DATAEFD, REGIMEAPU) VALUES (1, 1, :D, 2)",
                 {VarDate(EncodeDate(2023, 1, 1))});
  banco.Executar(
      "INSERT INTO OPCAOEFDCOMPL (CODIGOEMPRESA, CODIGOESTAB, DATAEFD, OPTANTEEFD, CODTABCOMPCRED) "
      "VALUES (1, 1, :D, 1, 1)",
      {VarDate(EncodeDate(2023, 1, 1))});
  banco.Executar("INSERT INTO EFDORDEMCOMPCRED (CODTABSPEDCOMPCRED, DESCRICAO, FORMACOMPENSACAO) VALUES (1, 'B', 0)");
  int chave = 0;
  for (const char* cod : {"4.3.06.101", "4.3.06.201", "4.3.06.301"})
    banco.Executar(
        "INSERT INTO EFDORDEMCOMPCREDPERCENT (CODTABSPEDCOMPCRED, CODTABSPEDCOMPCREDPERCENT, CODIGOTABSPED, "
        "PERCENTCOMP) VALUES (1, :K, :C, 100)",
        {int64_t{++chave}, std::string(cod)});
  banco.Executar(
      "INSERT INTO EFDSALDOCOMPCRED (CODIGOEMPRESA, DATATOTAL, SEQ, IMPOSTO, TIPOAPURACAO, PERAPUCRED, ORIGCRED, "
      "CNPJSUC, CODCRED, ALIQIMPOSTO, VLCREDAPU, VLCREDEXTAPU, VLCREDDESCPAANT, VLCREDPERPAANT, VLCREDDCOMPPAANT, "
      "VLCREDDESCEFD, VLCREDPEREFD, VLCREDDCOMPEFD, VLCREDTRANS, VLCREDOUT, SLDCREDFIM) "
      "WITH RECURSIVE G(N) AS (SELECT 1 UNION ALL SELECT N + 1 FROM G WHERE N < :N) "
      "SELECT 1, :D, N, 15 + N % 2, 0, CASE N % 4 WHEN 0 THEN :P WHEN 1 THEN :Q WHEN 2 THEN :R ELSE :S END, 1, "
      "CAST(N AS VARCHAR(14)), "
      "CASE N % 3 WHEN 0 THEN '4.3.06.101' WHEN 1 THEN '4.3.06.201' ELSE '4.3.06.301' END, 1.65, "
      "100 + N % 50, 0, 10, 0, 0, 5, 0, 0, 0, 0, 85 + N % 50 FROM G",
      {n, VarDate(EncodeDate(2023, 12, 1)), VarDate(EncodeDate(2023, 3, 1)), VarDate(EncodeDate(2023, 6, 1)),
       VarDate(EncodeDate(2023, 9, 1)), VarDate(EncodeDate(2023, 11, 1))});
  banco.Confirmar();
}

// Uma execução: carga do livro, lista ordenada e compensação de cada crédito; segundos.
double Executar(const std::string& conexao, int64_t& linhas) {
  THost host(TDatabase::Conectar(conexao));
  THostScope escopo(host);
  TConfigBlocoM c;
  c.CodigoEmpresa = 1;
  c.CodigoEstab = "1";
  CompetenciaParaPeriodo("2024-01", c.DataInicial, c.DataFinal);
  const auto t0 = std::chrono::steady_clock::now();
  ControleOpcaoEFD().Configurar(1, 1, c.DataInicial);
  TnFisEFDControleCredito cc;
  cc.SetConfigBlocoM(c);
  cc.CarregarCreditosPeriodo();
  double usado = 0;
  for (int imposto : {15, 16}) {
    const auto lista = cc.MontarListaCredDispOrdenada(imposto, false);
    for (TDadosCreditoObj* cred : lista) usado += cc.CompensarCredito(*cred, 30);
  }
  const auto t1 = std::chrono::steady_clock::now();
  benchmark::DoNotOptimize(usado);
  linhas = static_cast<int64_t>(cc.GetLstCredito().Count());
  return std::chrono::duration<double>(t1 - t0).count();
}

double Mediana(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct TBanco {
  std::string Nome, Conexao, Limpeza;
  TDialeto Dialeto;
};

}  // namespace

int main() {
  bool ok = true;
  std::vector<std::string> nomes{"SQLite"};
  if (std::getenv("PISCO_PG_URL")) nomes.push_back("PostgreSQL");
  for (const std::string& nome : nomes) {
    std::vector<double> porLinha;
    for (int64_t n : {int64_t{10000}, int64_t{100000}}) {
      TBanco b;
      b.Nome = nome;
      if (nome == "SQLite") {
        b.Conexao = fmt::format("/tmp/pisco_bench_creditos_{}_{}.db", getpid(), n);
        b.Dialeto = TDialeto::dSQLite;
      } else {
        const std::string schema = fmt::format("bench_creditos_{}_{}", getpid(), n);
        auto admin = TDatabase::Conectar(std::getenv("PISCO_PG_URL"));
        admin->ExecutarScript("CREATE SCHEMA " + schema);
        std::string url = std::getenv("PISCO_PG_URL");
        url += (url.find('?') == std::string::npos ? "?" : "&");
        b.Conexao = url + "options=-c%20search_path%3D" + schema;
        b.Limpeza = schema;
        b.Dialeto = TDialeto::dPostgreSQL;
      }
      {
        auto banco = TDatabase::Conectar(b.Conexao, TModoAbertura::maCriar);
        Preparar(*banco, b.Dialeto, n);
      }
      std::vector<double> tempos;
      int64_t linhas = 0;
      for (int i = 0; i < kExecucoes; ++i) tempos.push_back(Executar(b.Conexao, linhas));
      const double med = Mediana(tempos);
      porLinha.push_back(med / static_cast<double>(linhas));
      std::printf("%-10s linhas=%-7lld mediana=%8.3f s  por linha=%7.2f us  (execuções:", nome.c_str(),
                  static_cast<long long>(linhas), med, porLinha.back() * 1e6);
      for (double t : tempos) std::printf(" %.3f", t);
      std::printf(")\n");
      std::fflush(stdout);
      if (b.Limpeza.empty()) {
        std::remove(b.Conexao.c_str());
      } else {
        auto admin = TDatabase::Conectar(std::getenv("PISCO_PG_URL"));
        admin->ExecutarScript("DROP SCHEMA " + b.Limpeza + " CASCADE");
      }
    }
    const double razao = porLinha[1] / porLinha[0];
    std::printf("%-10s razão por linha 10^5 / 10^4 = %.2f (%s)\n", nome.c_str(), razao, razao < 1.5 ? "linear" : "ACIMA DE 1,5");
    ok = ok && razao < 1.5;
  }
  return ok ? 0 : 1;
}

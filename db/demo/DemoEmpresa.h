#pragma once
// Peças comuns do gerador da demonstração: sorteio, valores em centavos, gravação em lote e o
// gerador de uma empresa. Cada área de dados (cadastros, entradas, saídas, ...) fica no seu .cpp.
// O sorteio usa std::mt19937_64 (sequência fixada pelo padrão) com distribuições próprias: as da
// biblioteca padrão mudam de uma implementação para outra. Valores são guardados em centavos
// (inteiros) e alíquotas em décimos de milésimo, para que os totais batam com os lançamentos.
#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "base/Erros.h"
#include "db/Demo.h"
#include "db/Schema.h"

namespace demo {

// ---------------------------------------------------------------- sorteio

class TSorteio {
 public:
  explicit TSorteio(uint64_t semente) : FMotor(semente) {}
  // Inteiro uniforme em [a, b], por rejeição (sem viés e igual em qualquer plataforma).
  int64_t Entre(int64_t a, int64_t b) {
    const uint64_t faixa = static_cast<uint64_t>(b - a) + 1;
    const uint64_t limite = UINT64_MAX - UINT64_MAX % faixa;
    uint64_t x;
    do x = FMotor();
    while (x >= limite);
    return a + static_cast<int64_t>(x % faixa);
  }
  bool Chance(int porcento) { return Entre(0, 99) < porcento; }
  // Índice sorteado conforme os pesos.
  size_t Peso(std::initializer_list<int> pesos) {
    int total = 0;
    for (int p : pesos) total += p;
    int64_t r = Entre(0, total - 1);
    size_t i = 0;
    for (int p : pesos) {
      if (r < p) return i;
      r -= p;
      ++i;
    }
    return pesos.size() - 1;
  }
  std::string Digitos(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + Entre(0, 9));
    return s;
  }

 private:
  std::mt19937_64 FMotor;
};

// Semente própria de cada empresa: aumentar --empresas não muda as empresas já existentes.
inline uint64_t Misturar(uint64_t x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

// ---------------------------------------------------------------- valores

inline double Reais(int64_t centavos) { return static_cast<double>(centavos) / 100.0; }
inline double Aliq(int64_t aliq4) { return static_cast<double>(aliq4) / 10000.0; }
// Tributo de uma base (centavos) a uma alíquota (décimos de milésimo de ponto percentual),
// arredondado meio para cima.
// Produtos em 128 bits: com dezenas de milhões de linhas as somas passam de 10^13 centavos.
inline int64_t Tributo(int64_t baseCentavos, int64_t aliq4) {
  const __int128 p = static_cast<__int128>(baseCentavos) * aliq4;
  return static_cast<int64_t>(p >= 0 ? (p + 500000) / 1000000 : -((-p + 500000) / 1000000));
}
inline int64_t Parte(int64_t valor, int64_t num, int64_t den) {
  return den == 0 ? 0 : static_cast<int64_t>((static_cast<__int128>(valor) * num + den / 2) / den);
}

inline TVariant I(int64_t v) { return v; }
inline TVariant V(int64_t centavos) { return Reais(centavos); }
inline TVariant A(int64_t aliq4) { return Aliq(aliq4); }
inline TVariant Q(int64_t milesimos) { return static_cast<double>(milesimos) / 1000.0; }
inline TVariant T(std::string s) { return s; }
inline TVariant D(TDateTime d) { return VarDate(d); }
inline TVariant N() { return VarNull(); }

inline std::string CNPJ(int64_t raiz, int filial) {
  char base[32];
  std::snprintf(base, sizeof base, "%08lld%04d", static_cast<long long>(raiz % 100000000), filial % 10000);
  std::string s = base;
  auto dv = [](const std::string& d, std::initializer_list<int> pesos) {
    int soma = 0;
    size_t i = 0;
    for (int p : pesos) soma += (d[i++] - '0') * p;
    int r = soma % 11;
    return static_cast<char>('0' + (r < 2 ? 0 : 11 - r));
  };
  s += dv(s, {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2});
  s += dv(s, {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2});
  return s;
}

// ---------------------------------------------------------------- gravação em lote

// Linhas acumuladas por tabela antes de cada carga (COPY no PostgreSQL): poucas idas ao
// servidor por milhão de linhas, com memória limitada.
constexpr size_t kValoresPorCarga = 40000;

class TInsersor {
 public:
  TInsersor(TDatabase& banco, std::string tabela, std::string_view colunas, int64_t& contador)
      : FBanco(banco), FTabela(std::move(tabela)), FContador(contador) {
    std::string atual;
    for (char c : colunas) {
      if (c == ' ' || c == ',') {
        if (!atual.empty()) FColunas.push_back(atual);
        atual.clear();
      } else {
        atual += c;
      }
    }
    if (!atual.empty()) FColunas.push_back(atual);
    FLote = std::max<size_t>(1, kValoresPorCarga / FColunas.size());
  }
  void Linha(TParams valores) {
    if (valores.size() != FColunas.size())
      throw EPisco("demo-db: " + FTabela + " recebeu " + std::to_string(valores.size()) + " valores para " +
                   std::to_string(FColunas.size()) + " colunas");
    for (auto& v : valores) FPendentes.push_back(std::move(v));
    if (++FLinhas == FLote) Descarregar();
  }
  void Descarregar() {
    if (FLinhas == 0) return;
    FBanco.CarregarLinhas(FTabela, FColunas, FPendentes);
    FContador += static_cast<int64_t>(FLinhas);
    FPendentes.clear();
    FLinhas = 0;
  }

 private:
  TDatabase& FBanco;
  std::string FTabela;
  std::vector<std::string> FColunas;
  size_t FLote;
  size_t FLinhas = 0;
  TParams FPendentes;
  int64_t& FContador;
};

class TCarga {
 public:
  explicit TCarga(TDatabase& banco) : FBanco(banco) {}
  TInsersor& operator()(const std::string& tabela, std::string_view colunas) {
    auto it = FInsersores.find(tabela);
    if (it == FInsersores.end())
      it = FInsersores.emplace(tabela, std::make_unique<TInsersor>(FBanco, tabela, colunas, FGravadas)).first;
    return *it->second;
  }
  void Descarregar() {
    for (auto& [nome, ins] : FInsersores) ins->Descarregar();
  }
  int64_t Gravadas() const { return FGravadas; }
  TDatabase& Banco() { return FBanco; }

 private:
  TDatabase& FBanco;
  std::map<std::string, std::unique_ptr<TInsersor>> FInsersores;
  int64_t FGravadas = 0;
};

// ---------------------------------------------------------------- cadastros comuns

struct TMunicipio {
  const char* UF;
  int Codigo;
  const char* Nome;
};
inline const TMunicipio kMunicipios[] = {
    {"SP", 3550308, "São Paulo"},      {"DF", 5300108, "Brasília"},   {"MG", 3106200, "Belo Horizonte"},
    {"PR", 4106902, "Curitiba"},       {"RS", 4314902, "Porto Alegre"}, {"RJ", 3304557, "Rio de Janeiro"},
    {"GO", 5208707, "Goiânia"},        {"BA", 2927408, "Salvador"},
};

// Pessoas: 1 consumidor final, 2..4 fornecedores do exterior, 5..10 órgãos públicos, o resto empresas.
constexpr int kPessoas = 60;
constexpr int kConsumidorFinal = 1;
inline int OrgaoPublico(int pessoa) { return pessoa >= 5 && pessoa <= 10 ? 1 + (pessoa % 3) : 0; }
inline bool Estrangeira(int pessoa) { return pessoa >= 2 && pessoa <= 4; }



// ---------------------------------------------------------------- uma empresa

struct TEstabDemo {
  int Codigo;
  const TMunicipio* Municipio;
  bool SCP;
};

struct TProdutoDemo {
  int Codigo;
  int DaconTipoReceita;
  bool Monofasico;  // revenda com incidência monofásica: saída com CST 04
  bool PorUnidade;  // tributado por quantidade (CST 03 na saída, crédito por unidade na entrada)
};

// Soma de valores em centavos.
struct TSoma {
  int64_t Total = 0, Base = 0, Tributo = 0, Quantidade = 0;
  void Somar(int64_t total, int64_t base, int64_t tributo, int64_t qtd = 0) {
    Total += total;
    Base += base;
    Tributo += tributo;
    Quantidade += qtd;
  }
};

// Chaves dos acumuladores: o estabelecimento vem primeiro; 0 = empresa inteira.
using TChaveCredito = std::tuple<int, int, std::string, int, int64_t, std::string>;  // estab, imposto, natureza, CST, aliq4, classe ("01", "02", ...)
using TChaveDebito = std::tuple<int, int, std::string, int64_t, bool>;  // estab, imposto, tipo de débito, aliq4, por unidade
using TChaveIsenta = std::tuple<int, int, int, std::string, std::string>;  // estab, imposto, CST, tipo de débito, conta
using TChaveMov = std::tuple<int, int, int, std::string, int, int>;  // estab, imposto, CST, código SPED, TIPOLCTO, CFOP

class TGeradorEmpresa {
 public:
  TGeradorEmpresa(TCarga& carga, const TConfigDemo& cfg, int empresa, TPerfilDemo perfil, TDateTime inicio,
                  int64_t linhas, int64_t& lancamentos)
      : c(carga), s(Misturar(cfg.Semente ^ (static_cast<uint64_t>(empresa) * 0x100000001B3ULL))),
        FCfg(cfg), FEmpresa(empresa), FPerfil(perfil), FInicio(inicio), FFim(EndOfTheMonth(inicio)),
        FDias(DaysInAMonth(YearOf(inicio), MonthOf(inicio))), FLinhas(linhas), FLancamentos(lancamentos) {}

  void Gerar();

 private:
  bool EhEFD() const { return FPerfil != TPerfilDemo::pdPresumido && FPerfil != TPerfilDemo::pdLucroRealSemEFD; }
  // Só cumulativa: sem créditos, receita a 0,65% e 3% (a COFINS do banco é de 4%).
  bool Cumulativa() const {
    return FPerfil == TPerfilDemo::pdPresumido || FPerfil == TPerfilDemo::pdCumulativoDiferido ||
           FPerfil == TPerfilDemo::pdFinanceira;
  }
  TDateTime Dia() { return FInicio + static_cast<double>(s.Entre(0, FDias - 1)); }
  std::string Chave44() { return s.Digitos(44); }
  // Chave de 44 dígitos sem sorteio, para as linhas fixas (não desloca a sequência sorteada).
  std::string Chave44Fixa(int64_t chave) const {
    char b[64];
    std::snprintf(b, sizeof b, "%044lld", static_cast<long long>(FEmpresa) * 1000000000LL + chave);
    return b;
  }

  const TEstabDemo& SortearEstab(bool permiteSCP = true) {
    if (FEstabs.size() == 1) return FEstabs[0];
    size_t i = s.Peso({60, 30, permiteSCP ? 10 : 0});
    return FEstabs[std::min(i, FEstabs.size() - 1)];
  }

  void Aviso(int64_t feitas) {
    if (FCfg.Progresso && FLinhas >= 100000 && feitas % 100000 == 0)
      FCfg.Progresso("empresa " + std::to_string(FEmpresa) + ": " + std::to_string(feitas) + " de " +
                     std::to_string(FLinhas) + " linhas de lançamento");
  }

  // ------------------------------------------------------------ cadastros
  void Cadastros();

  // ------------------------------------------------------------ entradas
  struct TLinhaEntrada {
    int64_t Chave;
    int Produto, Seq, Estab, CST, Cfop;
    int64_t AliqPis, AliqCofins;
    int64_t Base;  // base do crédito da linha: a devolução não passa dela
  };

  static constexpr std::string_view kColsCab =
      "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFIS{} DATALCTOFIS CODIGOPESSOA NUMERONF NUMERONFFINAL ESPECIENF SERIENF "
      "SUBSERIENF DATAEMISSAO DATAPRESTACAOSERVICO VALORCONTABIL VLRDESC VLRABATNTRIB VLRFRETE VLRSEGURO VLROUTRDESP "
      "VALORFUNRURAL EMITENTENF CDMODELO CHAVENFE{} CHAVENFE{}REF MODALIDADEFRETE INDPAGTO CDSITUACAO CANCELADA "
      "COMPLHIST CODIGOESTABSCP CODIGOREDUCAOZ CODIGOSAT";
  static constexpr std::string_view kColsProd =
      "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFIS{} CODIGOPRODUTO SEQ DATALCTOFIS CODIGOCFOP CODIGOSITUACAOTRIBUT "
      "UNIDADEMEDIDA QUANTIDADE VALORTOTAL VALORDESCONTO BASECALCULOICMS ALIQICMS VALORICMS ISENTASICMS OUTRASICMS "
      "BASECALCULOIPI ALIQIPI VALORIPI BASECALCULOSUBTRIBUT ALIQSUBTRIBUT VALORSUBTRIBUT VALORISS CSTIPI INDMOV INDNATFRT";
  static constexpr std::string_view kColsPC =
      "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFIS{} CODIGOPRODUTO SEQ DATALCTOFIS CODIGOCFOP CDSITUATRIBUTPIS "
      "CDSITUATRIBUTCOFINS ALIQPIS ALIQCOFINS QUANTIDADE RECEITAPISCOFINS VALORDESCONTO BASECALCULOPISCOFINS VALORPIS "
      "VALORCOFINS TIPOCREDITO TIPOCREDITOPIS TIPODEBITO TIPODEBITOPIS CONTACTBEFD";
  static constexpr std::string_view kColsCfop =
      "CODIGOEMPRESA CODIGOESTAB CHAVELCTOFIS{} SEQ DATALCTOFIS CODIGOCFOP TIPOIMPOSTO BASECALCULOIMPOSTO "
      "ISENTASIMPOSTO OUTRASIMPOSTO VALORIMPOSTO";

  static std::string Lado(std::string_view m, const char* lado) {
    std::string r(m);
    for (size_t p; (p = r.find("{}")) != std::string::npos;) r.replace(p, 2, lado);
    return r;
  }

  // Classe da alíquota do código de crédito (os dois últimos dígitos de 4.3.06.xyy).
  static std::string ClasseCredito(int cst, const std::string& natureza, int64_t aliqPis, bool porUnidade, int cfop) {
    if (porUnidade) return "03";
    if (cst >= 60 && cst <= 66) return "06";
    if (natureza == "4.3.07.18") return "04";
    if (cfop / 1000 == 3) return "08";
    if (aliqPis != 16500 && aliqPis != 6500) return "02";
    return "01";
  }

  void SomarCredito(int estab, const std::string& natureza, int cst, int64_t aliqPis, int64_t aliqCofins,
                    bool porUnidade, int cfop, int64_t base, int64_t pis, int64_t cofins, int64_t qtd = 0) {
    const std::string classe = ClasseCredito(cst, natureza, aliqPis, porUnidade, cfop);
    FCreditos[{estab, 15, natureza, cst, aliqPis, classe}].Somar(base, base, pis, qtd);
    FCreditos[{estab, 16, natureza, cst, aliqCofins, classe}].Somar(base, base, cofins, qtd);
  }

  void Entradas();

  // ------------------------------------------------------------ saídas
  struct TRegraSaida {
    int CST;
    std::string TipoDebito;  // tabela 4.3.05 (contribuição) ou natureza da receita isenta
    int64_t AliqPis, AliqCofins;
  };

  TRegraSaida RegraSaida(const TProdutoDemo& p, int cfop) {
    if (cfop / 1000 == 7) return {8, "4.3.14.101", 0, 0};  // exportação
    if (p.Monofasico) return {4, "4.3.10.101", 0, 0};
    switch (Cumulativa() ? TPerfilDemo::pdPresumido : FPerfil) {
      case TPerfilDemo::pdPresumido:
        if (s.Chance(12)) return {6, "4.3.11.101", 0, 0};
        // instituições financeiras recolhem a COFINS cumulativa a 4%
        return {1, "4.3.05.51", 6500, FPerfil == TPerfilDemo::pdFinanceira ? 40000 : 30000};
      case TPerfilDemo::pdMisto:
        switch (s.Peso({50, 30, 8, 7, 5})) {
          case 0: return {1, "4.3.05.01", 16500, 76000};
          case 1: return {1, "4.3.05.51", 6500, 30000};
          case 2: return {6, "4.3.11.101", 0, 0};
          case 3: return {7, "4.3.13.101", 0, 0};
          default: return {9, "4.3.16.101", 0, 0};
        }
      default:
        if (p.PorUnidade) return {3, "4.3.05.03", 1000 + 37 * (p.Codigo % 10), 4600 + 171 * (p.Codigo % 10)};
        switch (s.Peso({80, 5, 5, 3, 2, 5})) {
          case 0: return {1, "4.3.05.01", 16500, 76000};
          case 1: return {2, "4.3.05.02", 21000, 96500};
          case 2: return {6, "4.3.11.101", 0, 0};
          case 3: return {7, "4.3.13.101", 0, 0};
          case 4: return {9, "4.3.16.101", 0, 0};
          default: return {1, "4.3.05.01", 16500, 76000};
        }
    }
  }

  void Saidas();

  // Documentos que só os blocos C e D leem (modelos 1, 2, 06, 08, 13, 2E, 21, SAT com processo).
  void DocumentosBlocosCD();
  // Fontes dos blocos P e 1 (contribuição sobre a receita, 1050, 1011) e, no banco, do bloco I.
  void DadosBlocosIP1();
  void DeducoesBlocoI();

  // Venda a órgão público: retenção na fonte (PIS 0,65%, COFINS 3%) e pagamentos do mês.
  void VendaOrgaoPublico(int estab, int64_t chave, TDateTime dia, int64_t total, int64_t base, bool anterior);

  // ------------------------------------------------------------ demais documentos (F100) e outras fontes
  void DemaisDocumentos();

  // ------------------------------------------------------------ ajustes
  void Ajustes();

  // ------------------------------------------------------------ atividade imobiliária
  void Imobiliario();

  // ------------------------------------------------------------ ativo imobilizado
  void Patrimonio();

  // ------------------------------------------------------------ saldos de créditos e retidos
  void SaldosAnteriores();

  // ------------------------------------------------------------ totais dos regimes (lucro real e presumido)
  void Regimes();

  // Contribuição que o Bloco M pelos lançamentos apura nos M210 (não cumulativa ou cumulativa):
  // uma linha por tipo de débito e alíquota, a base inteira vezes a alíquota (ou a quantidade
  // vezes o valor por unidade), arredondada uma vez; a exclusão da base tira da linha do código
  // 51 na alíquota básica do imposto.
  int64_t ContribuicaoLancamentos(int imposto, bool cumulativa, int64_t exclusao51) const {
    std::map<std::tuple<std::string, int64_t, bool>, TSoma> linhas;
    for (const auto& [k, v] : FDebitos) {
      const auto& [est, imp, tipo, aliq, porUnidade] = k;
      if (imp == imposto && (tipo >= "4.3.05.50") == cumulativa) linhas[{tipo, aliq, porUnidade}].Somar(0, v.Base, 0, v.Quantidade);
    }
    int64_t t = 0;
    for (const auto& [k, v] : linhas) {
      const auto& [tipo, aliq, porUnidade] = k;
      const bool basica = tipo == "4.3.05.51" && aliq == (imposto == 15 ? 6500 : 30000) && !porUnidade;
      t += porUnidade ? Parte(v.Quantidade * aliq, 1, 100) : Tributo(v.Base - (basica ? exclusao51 : 0), aliq);
    }
    return t;
  }
  bool TemLinhaDebito(int imposto, const std::string& tipo, int64_t aliq) const {
    for (const auto& [k, v] : FDebitos)
      if (std::get<1>(k) == imposto && std::get<2>(k) == tipo && std::get<3>(k) == aliq && !std::get<4>(k)) return true;
    return false;
  }

  int64_t FMovSaidaCum(int imposto) const {
    int64_t t = 0;
    for (const auto& [k, v] : FDebitos)
      if (std::get<1>(k) == imposto && std::get<2>(k) >= "4.3.05.50") t += v.Tributo;
    return t;
  }

  // ------------------------------------------------------------ totais apurados da EFD
  struct TLinhaCred {
    std::string Codigo;  // 4.3.06.xyy
    int64_t Aliq4 = 0;
    bool PorUnidade = false;
    int64_t Credito = 0;
    struct TDet {
      std::string Natureza;
      int CST;
      int64_t BaseTot, Base;
      int64_t QuantTot = 0, Quant = 0;  // em milésimos (N(3) do registro)
    };
    std::vector<TDet> Dets;
  };

  // Parcela da receita de cada tipo (0 tributada não cumulativa, 1 não tributada, 2 exportação).
  std::vector<std::pair<char, int64_t>> Rateio(int cst) const {
    static const std::map<int, std::vector<int>> partes = {
        {53, {0, 1}}, {63, {0, 1}}, {54, {0, 2}}, {64, {0, 2}}, {55, {1, 2}}, {65, {1, 2}}, {56, {0, 1, 2}}, {66, {0, 1, 2}}};
    auto it = partes.find(cst);
    if (it == partes.end()) return {{cst == 51 || cst == 61 ? '2' : cst == 52 || cst == 62 ? '3' : '1', 1000000}};
    int64_t total = 0;
    for (int p : it->second) total += FReceita[p];
    std::vector<std::pair<char, int64_t>> r;
    for (int p : it->second)
      r.push_back({static_cast<char>('1' + p), total ? Parte(FReceita[p], 1000000, total) : 1000000 / 3});
    return r;
  }

  void TotaisEFD();

  // Grava os totais de um imposto para a empresa (estab 0) ou para um estabelecimento.
  void TotaisImposto(int estab, int imposto);

  struct TAjusteDemo {
    int Tipo;
    std::string Indicador, Codigo;
    int64_t Pis, Cofins, Base;
    // como o lançamento da EFD os grava, para os totais apurados saírem iguais
    std::string Descricao, NumDoc;
    int Dia = 25;
    int CSTDet = 50;
    std::string DescDet, ContaDet, InfoDet;
  };
  struct TDiferidoDemo {
    int Estab;
    bool Anterior;
    int64_t Aberto, Base, Recebido;
    TDateTime Dia;
  };

  TCarga& c;
  TSorteio s;
  const TConfigDemo& FCfg;
  int FEmpresa;
  TPerfilDemo FPerfil;
  TDateTime FInicio, FFim;
  int FDias;
  int64_t FLinhas;
  int64_t& FLancamentos;
  std::vector<TEstabDemo> FEstabs;
  std::vector<TProdutoDemo> FProdutos;
  std::vector<TLinhaEntrada> FAmostraEntradas;
  int64_t FChaveEnt = 0, FChaveSai = 0, FChaveDup = 0;
  std::map<TChaveCredito, TSoma> FCreditos;
  std::map<TChaveDebito, TSoma> FDebitos;
  std::map<TChaveIsenta, TSoma> FIsentas;
  std::map<TChaveMov, TSoma> FMov;
  std::map<std::pair<int, int>, int64_t> FRetido;   // (estab, imposto)
  std::map<std::pair<int, int>, int64_t> FDeducao;  // (imposto, natureza)
  std::map<int64_t, int64_t> FRecebidoOrgao;        // chave do lançamento -> recebido no mês
  std::vector<TAjusteDemo> FAjustes;
  std::vector<TDiferidoDemo> FDiferido;
  std::set<int> FDiasECF;
  int64_t FReceita[3] = {0, 0, 0};
  int64_t FAjusteBC = 0;
  std::pair<int64_t, int64_t> FCoop = {0, 0};
  int64_t FExclusaoPresumido = 0;  // vendas canceladas do presumido (exclusão da base, CST 01)
  // Entrada de linhas fixas (CSTs comuns e duas linhas de um produto) e o produto que a
  // devolução de compra fixa devolve em três linhas.
  int64_t FChaveEntFixa = 0;
  int FProdutoDevolvido = 0;
  void EntradasFixas();
  void DevolucoesFixas();
};

}  // namespace demo

#include "output/EscritorBlocoM.h"

#include "base/Erros.h"

namespace {

void Incluir(std::vector<TLinhaBlocoM>& ALinhas, const char* ARegistro, TCampos ACampos) {
  ALinhas.push_back({ARegistro, std::move(ACampos)});
}

void IncluirCreditos(std::vector<TLinhaBlocoM>& L, const TM100_500CreditoImpostoList& ALista,
                     const TNomesBlocoM& N) {
  for (const auto* cred : ALista.GetListaOrdenada()) {
    Incluir(L, N.M100, CamposM100(*cred));
    const bool qtd = PorQuantidade(*cred);
    for (const auto* det : cred->FM105_505List.GetListaOrdenada())
      Incluir(L, N.M105, CamposM105(*det, qtd));
    for (const auto* aj : cred->FM110_510List.GetListaOrdenada()) {
      Incluir(L, N.M110, CamposM110(*aj));
      for (const auto* det : aj->FM115_515_225_625List.GetListaOrdenada())
        Incluir(L, N.M115, CamposM115(*det));
    }
  }
}

void IncluirContribuicao(std::vector<TLinhaBlocoM>& L, const TM200_600ConsolidContribImposto& AM200,
                         const TNomesBlocoM& N) {
  Incluir(L, N.M200, CamposM200(AM200));
  for (const auto* rec : AM200.FM205_605List.GetListaOrdenada())
    Incluir(L, N.M205, CamposM205(*rec));
  const auto& detalhes = AM200.FM210_610List.GetListaOrdenada();
  for (const auto* det : detalhes) {
    Incluir(L, N.M210, CamposM210(*det));
    if (det->FM211_611) Incluir(L, N.M211, CamposM211(*det->FM211_611));
    for (const auto* aj : det->FM215_615List.GetListaOrdenada())
      Incluir(L, N.M215, CamposM215(*aj));
    for (const auto* aj : det->FM220_620List.GetListaOrdenada()) {
      Incluir(L, N.M220, CamposM110(*aj));
      for (const auto* d : aj->FM115_515_225_625List.GetListaOrdenada())
        Incluir(L, N.M225, CamposM115(*d));
    }
    for (const auto* dif : det->FM230_630List.GetListaOrdenada())
      Incluir(L, N.M230, CamposM230(*dif));
  }
  // O M300 é do nível 2: vem depois de todos os M210, na ordem deles.
  for (const auto* det : detalhes)
    for (const auto* ant : det->FM300_700List.GetListaOrdenada())
      Incluir(L, N.M300, CamposM300(*ant));
}

void IncluirReceitasIsentas(std::vector<TLinhaBlocoM>& L, const TM400_800ReceitaIsentaList& ALista,
                            const TNomesBlocoM& N) {
  for (const auto* rec : ALista.GetListaOrdenada()) {
    Incluir(L, N.M400, CamposM400(*rec));
    for (const auto* det : rec->FM410_810List.GetListaOrdenada())
      Incluir(L, N.M410, CamposM410(*det));
  }
}

}  // namespace

std::vector<TLinhaBlocoM> RegistrosBlocoM(const TM001AberturaBloco& AM001) {
  std::vector<TLinhaBlocoM> linhas;
  // O M200 e o M600 saem sempre: com eles o bloco tem movimento (IND_MOV 0).
  Incluir(linhas, "M001", CamposM001(true));
  IncluirCreditos(linhas, AM001.FM100List, NomesPIS());
  IncluirContribuicao(linhas, *AM001.FM200, NomesPIS());
  if (AM001.FM350) Incluir(linhas, "M350", CamposM350(*AM001.FM350));
  IncluirReceitasIsentas(linhas, AM001.FM400List, NomesPIS());
  IncluirCreditos(linhas, AM001.FM500List, NomesCOFINS());
  IncluirContribuicao(linhas, *AM001.FM600, NomesCOFINS());
  IncluirReceitasIsentas(linhas, AM001.FM800List, NomesCOFINS());
  Incluir(linhas, "M990", CamposM990(static_cast<int>(linhas.size()) + 1));
  return linhas;
}

std::vector<TLinhaBlocoM> RegistrosBlocoM(const TM001AberturaBloco* AM001) {
  if (AM001) return RegistrosBlocoM(*AM001);
  std::vector<TLinhaBlocoM> linhas;
  Incluir(linhas, "M001", CamposM001(false));
  Incluir(linhas, "M990", CamposM990(2));
  return linhas;
}

std::string FormatarLinhaBlocoM(const TLinhaBlocoM& ALinha) {
  const auto& layout = LayoutRegistro(ALinha.Registro);
  if (layout.Campos.size() != ALinha.Campos.size())
    throw EPisco("Registro " + ALinha.Registro + " com " + std::to_string(ALinha.Campos.size()) +
                 " campos; o leiaute tem " + std::to_string(layout.Campos.size()));
  std::string texto = "|" + ALinha.Registro + "|";
  for (size_t i = 0; i < ALinha.Campos.size(); ++i) {
    texto += FormatarCampo(ALinha.Campos[i], layout.Campos[i]);
    texto += '|';
  }
  return texto;
}

std::vector<std::string> MontarLinhasBlocoM(const TM001AberturaBloco& AM001) {
  std::vector<std::string> linhas;
  for (const auto& reg : RegistrosBlocoM(AM001)) linhas.push_back(FormatarLinhaBlocoM(reg));
  return linhas;
}

std::vector<std::string> MontarLinhasBlocoM(const TM001AberturaBloco* AM001) {
  std::vector<std::string> linhas;
  for (const auto& reg : RegistrosBlocoM(AM001)) linhas.push_back(FormatarLinhaBlocoM(reg));
  return linhas;
}

void EscreverBlocoM(std::ostream& ASaida, const TM001AberturaBloco* AM001) {
  const auto linhas = MontarLinhasBlocoM(AM001);
  for (const auto& linha : linhas) ASaida << linha << "\r\n";
}

void EscreverBlocoM(std::ostream& ASaida, const TM001AberturaBloco& AM001) {
  // Monta tudo antes de escrever: um erro não deixa o bloco pela metade na saída.
  const auto linhas = MontarLinhasBlocoM(AM001);
  for (const auto& linha : linhas) ASaida << linha << "\r\n";
}
